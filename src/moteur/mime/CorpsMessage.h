#pragma once
// Début du corps d'un message lu par TOP, décodé pour la visionneuse : la partie texte,
// son codage de transfert défait, son jeu de caractères ramené à Windows-1252.
#include <string>
#include <string_view>
#include <vector>

// Les lignes du corps décodé, chacune suivie de CR LF (la dernière sans, quand le texte ne
// finit pas par une fin de ligne). `brut` : les lignes reçues par TOP (en-tête, ligne vide,
// premières lignes du corps), chacune suivie de CR LF ; le message peut être coupé n'importe où.
//
// La partie montrée : le message entier quand il n'a qu'une partie ; sinon la première partie
// text/plain qui n'est pas une pièce jointe, à défaut la première text/html (montrée comme du
// texte), à défaut rien. Quoted-printable et Base64 sont défaits (un Base64 coupé donne ce qui
// peut l'être). Le jeu de caractères de la partie est converti en Windows-1252 (un caractère sans
// équivalent devient "?") ; inconnu, ou de la famille Windows-1252 / ISO-8859-1 / ASCII, les
// octets passent tels quels. Sans jeu déclaré, `jeuParDefaut` s'applique ; vide, les octets
// passent tels quels. Un texte que l'analyseur MIME refuse donne les lignes qui suivent la
// première ligne vide, sans décodage.
std::vector<std::string> DecoderCorps(std::string_view brut, std::string_view jeuParDefaut = {});

// Les lignes que la visionneuse affiche : une ligne vide ou faite d'un seul CR LF disparaît ;
// des autres, le premier CR LF est retiré.
std::vector<std::string> LignesVisionneuse(const std::vector<std::string>& lignes);

#pragma once
// Lecture du bloc d'en-tête d'un message (la réponse à TOP sans ligne de corps) : les valeurs
// dont le moteur se sert, et les lignes brutes.
#include <string>
#include <string_view>
#include <vector>

struct EnteteMessage {
    std::string From;                 // valeurs dépliées, mots codés laissés tels quels
    std::string To;
    std::string Subject;
    std::string Date;
    std::string ReturnPath;           // sans une paire de chevrons autour
    std::string TypeMedia;            // type de Content-Type, sans ses paramètres
    std::string Charset;              // paramètre charset de Content-Type, sans guillemets
    std::string EncodageTransfert;    // Content-Transfer-Encoding
    std::vector<std::string> Lignes;  // lignes brutes de l'en-tête, sans leur fin de ligne
};

// Analyse le bloc : lignes terminées par CR LF (ou LF seul), fin du bloc à la première ligne
// vide (ou à la fin du texte). Une ligne qui commence par une espace ou une tabulation
// continue l'en-tête précédent : seul le saut de ligne disparaît, les blancs restent. Les noms
// d'en-tête se comparent sans tenir compte de la casse ; la première occurrence l'emporte.
// Chaque valeur est débarrassée des espaces et tabulations à ses deux bouts.
EnteteMessage AnalyserEntete(std::string_view bloc);

// Le champ Cc lu dans les lignes brutes : la première ligne qui commence par "cc: " (sans
// tenir compte de la casse) donne au plus 255 caractères après ces quatre-là, casse gardée,
// sans ses lignes de suite. Vide sans ligne pareille (un "Cc:" collé à sa valeur ne compte pas).
std::string LireChampCc(const std::vector<std::string>& lignes);

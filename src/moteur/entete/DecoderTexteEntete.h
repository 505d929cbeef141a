#pragma once
// Décodage des mots codés ("=?jeu?lettre?texte?=") d'une valeur d'en-tête.
#include <string>
#include <string_view>

// Le texte avec ses mots codés décodés : B en Base64, Q en quoted-printable d'en-tête. Le jeu
// de caractères déclaré n'est pas appliqué : les octets décodés passent tels quels, sauf quand
// le texte reçu contient "UTF-8" écrit en capitales, auquel cas tout le résultat est converti
// d'UTF-8 en Windows-1252. Un mot codé coupé court (pas de lettre de codage, ou pas de "?"
// après elle) donne pour tout résultat le texte qui restait à lire après son "=?".
//
// Base64 invalide : les caractères hors de l'alphabet sont sautés, un "=" termine le groupe
// en cours (les bits déjà complets en octets sont gardés, le reste est perdu) ; ce qui peut être
// décodé l'est, le décodage n'échoue jamais.
std::string DecoderTexteEntete(std::string_view texte);

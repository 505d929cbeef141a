#pragma once
// Texte d'une réponse en texte brut envoyée par SMTP : en-têtes puis corps, lignes en CR LF.
#include <QDateTime>
#include <string>

// En-têtes From, Subject, Date, Message-ID, MIME-Version, Content-Type (text/plain,
// windows-1252) et Content-Transfer-Encoding (quoted-printable), une ligne vide, puis le corps.
// Pas d'en-tête To. Textes en octets Windows-1252.
//  - CR, LF et NUL sont retirés de `de` et de `sujet` : ils ne peuvent pas ajouter d'en-tête.
//  - Le sujet est écrit tel quel s'il n'est fait que d'ASCII (replié aux blancs au-delà de
//    78 colonnes) ; sinon — ou s'il contient un mot trop long pour une ligne d'en-tête — il est
//    codé en mots =?windows-1252?Q?...?= de 75 caractères au plus.
//  - Le corps est codé en quoted-printable (lignes de 76 caractères au plus, texte 7 bits) :
//    il passe par tout serveur, même sans 8BITMIME, quelle que soit la longueur de ses lignes.
//    CR LF, CR seul et LF seul y sont des fins de ligne ; chaque ligne finit par CR LF.
std::string ConstruireMessageSmtp(const std::string& de, const std::string& sujet, const std::string& corps);

// Le même à la date `date` (fuseau compris), avec `identifiant` pour partie gauche du
// Message-ID (la partie droite est le domaine de `de`, ou "tessaron.invalid" à défaut).
std::string ConstruireMessageSmtp(const std::string& de, const std::string& sujet, const std::string& corps,
                                  const QDateTime& date, const std::string& identifiant);

#pragma once
// Client de messagerie du système : l'exécutable contenu dans une ligne de commande, et la
// recherche du programme qui ouvre les liens mailto sur le bureau (xdg-mime puis fichier .desktop).
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>

// Le chemin de l'exécutable contenu dans la ligne de commande `v` (octets Windows-1252) :
// - une ligne qui commence par un guillemet perd ce guillemet et tout ce qui suit le suivant ;
// - une ligne qui commence alors par "%" : le nom jusqu'au "%" suivant (au plus jusqu'à
//   l'avant-dernier caractère) est une variable d'environnement, remplacée par sa valeur
//   (126 caractères au plus) suivie de ce qui vient après le "%" fermant ;
// - tout ce qui suit la première virgule est retiré (l'indice d'une icône) ;
// - puis le dernier caractère est retiré tant qu'aucun fichier de ce nom n'existe.
// Le résultat peut être vide. `variable` donne la valeur d'une variable ("" quand elle n'existe
// pas) ; `existe` dit si un fichier de ce nom existe.
std::string ExtraireExecutable(const std::string& v, std::function<std::string(const std::string&)> variable,
                               std::function<bool(const std::string&)> existe);

// Ce que le bureau dit du client de messagerie, en octets Windows-1252 ; vides quand rien
// n'est trouvé.
struct ClientMessagerie {
    std::string executable; // chemin de l'exécutable
    std::string icone;      // valeur "Icon=" : nom d'icône du thème ou chemin d'un fichier
    std::string commande;   // valeur "Exec=" telle que le fichier la donne
};

// Texte de diagnostic du gestionnaire des liens mailto (Ctrl+Alt sur le lancement du client) :
// la valeur Icon puis la valeur Exec du fichier .desktop, chacune sous son titre, lignes en CR LF.
std::string TexteDiagnosticMessagerie(const ClientMessagerie& client);

// Les clés utiles du groupe [Desktop Entry] d'un fichier .desktop, séquences d'échappement
// (\s, \n, \t, \r, \\) déjà traduites.
struct EntreeBureau {
    QString exec;
    QString icone;
};
EntreeBureau LireEntreeBureau(const QByteArray& contenu);

// La ligne Exec sans ses codes de champ (%f, %F, %u, %U, %i, %c, %k et les anciens %d, %D, %n,
// %N, %v, %m) ; "%%" y devient "%". Les blancs en trop sont retirés.
QString RetirerCodesChamp(const QString& exec);

// Les dossiers "applications" du bureau, du plus prioritaire au moins prioritaire :
// $XDG_DATA_HOME (défaut ~/.local/share) puis chaque dossier de $XDG_DATA_DIRS (défaut
// /usr/local/share:/usr/share).
QStringList DossiersApplications();

// Le fichier d'un identifiant de bureau ("thunderbird.desktop" ; "kde4-kmail.desktop" peut
// être kde4/kmail.desktop), cherché dans les dossiers dans l'ordre ; vide quand il n'y est pas.
QString TrouverFichierBureau(const QString& identifiant, const QStringList& dossiers);

// Le client de messagerie du système : l'identifiant que donne
// `xdg-mime query default x-scheme-handler/mailto` (abandonné au bout de `delaiMs`), puis son
// fichier .desktop : Exec (sans codes de champ, passé par ExtraireExecutable, nom cherché dans
// le PATH) et Icon. Outil absent, muet ou réponse inutilisable : rien n'est trouvé.
ClientMessagerie TrouverClientMessagerie(int delaiMs = 2000);

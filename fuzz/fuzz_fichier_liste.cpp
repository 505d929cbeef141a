// Cible libFuzzer de la lecture des fichiers de listes : les octets reçus deviennent un fichier
// de filtres (expéditeurs, destinataires) ou d'historique. La lecture doit aboutir sans planter,
// rendre des rangées réparées, et un fichier réécrit depuis ces rangées doit se relire à
// l'identique quand ses lignes tiennent dans la limite de lecture.
//
// Construction, depuis /work/main :
//   /usr/lib/qt6/libexec/rcc -name ressources ressources/ressources.qrc -o build/qrc_fuzz_liste.cpp
//   clang++ -std=c++20 -g -O1 -fPIC -fsanitize=fuzzer,address,undefined \
//       $(pkg-config --cflags Qt6Core | sed 's/-I/-isystem /g') -Isrc \
//       fuzz/fuzz_fichier_liste.cpp src/donnees/FichiersListes.cpp src/donnees/Sauvegardes.cpp \
//       src/donnees/Historique.cpp src/donnees/Chaines.cpp src/donnees/Cp1252.cpp build/qrc_fuzz_liste.cpp \
//       $(pkg-config --libs Qt6Core) -o build/fuzz_fichier_liste
// Lancement :
//   build/fuzz_fichier_liste -max_total_time=60 -max_len=8192
#include "FichierEssai.h"
#include "donnees/FichiersListes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

const QString& cheminDuFichier() {
    static const QString chemin = FichierEssai("fuzz_liste", "f.lst");
    return chemin;
}

void ecrireBrut(const QString& chemin, std::string_view octets) {
    QFile fichier(chemin);
    verifier(fichier.open(QIODevice::WriteOnly | QIODevice::Truncate), "ouverture du fichier d'essai");
    fichier.write(octets.data(), static_cast<qint64>(octets.size()));
}

// Un champ lu tient dans une ligne physique et ne contient ni virgule ni saut de ligne.
void verifierChamp(const std::string& champ) {
    verifier(champ.size() <= 1021, "champ plus long qu'une ligne");
    verifier(champ.find_first_of(",\n") == std::string::npos, "virgule ou saut de ligne dans un champ");
}

void verifierFiltres(const ListeFiltres& liste) {
    for (const structFiltre& f : liste.Lignes) {
        for (const std::string* champ : {&f.Motif, &f.Champ, &f.Avant, &f.Pendant, &f.Effectues}) verifierChamp(*champ);
        if (liste.AvecChamp) verifier(f.Champ == "A" || f.Champ == "C" || f.Champ == "L", "champ non réparé");
        if (f.Ami) continue;
        verifier(f.Avant.size() == 1 && std::string_view("Rdgc").find(f.Avant[0]) != std::string_view::npos,
                 "action non réparée");
        verifier(f.Pendant == "N " || (!f.Pendant.empty() && std::string_view("ovs").find(f.Pendant[0]) !=
                                                                  std::string_view::npos),
                 "réponse non réparée");
        verifier(f.Effectues.empty() || LireCompteur(f.Effectues).has_value(), "compteur non réparé");
    }
}

void verifierHistorique(const ListeHisto& historique) {
    for (const structHisto& h : historique.Lignes) {
        verifier(!h.DateHeure.empty() && h.DateHeure[0] >= '0' && h.DateHeure[0] <= '9', "date sans chiffre en tête");
        for (const std::string* champ : {&h.DateHeure, &h.Expediteur, &h.Sujet, &h.Destinataires,
                                         &h.DestinatairesCopie, &h.Boite})
            verifierChamp(*champ);
    }
}

// Chaque ligne écrite, sans sa fin de ligne, tient-elle dans la limite de lecture ?
bool lignesCourtes(const std::string& texte) {
    std::size_t debut = 0;
    while (debut < texte.size()) {
        const std::size_t fin = texte.find("\r\n", debut);
        verifier(fin != std::string::npos, "ligne écrite sans CR LF");
        if (fin - debut > 1021) return false;
        debut = fin + 2;
    }
    return true;
}

// Lit le fichier dans la liste `index`, vérifie les rangées et rend le texte réécrit.
std::string lireEtReecrire(IndexListe index, ListesFiltres& listes) {
    verifier(LireFichierListe(index, cheminDuFichier(), listes) == ResultatLecture::Lu, "lecture refusée");
    if (index == ListeIndexHistorique) {
        verifierHistorique(listes.Historique);
        return TexteFichierHistorique(listes.Historique);
    }
    const ListeFiltres& liste = index == ListeIndexDestinataires ? listes.ListeDestinataires : listes.ListeExpediteurs;
    verifierFiltres(liste);
    return TexteFichierFiltres(liste);
}

void essayer(IndexListe index, std::string_view octets) {
    ecrireBrut(cheminDuFichier(), octets);
    ListesFiltres listes;
    const std::string texte = lireEtReecrire(index, listes);
    TrierFiltres(listes.ListeExpediteurs);
    TrierFiltres(listes.ListeDestinataires);
    if (!lignesCourtes(texte)) return;

    ecrireBrut(cheminDuFichier(), texte);
    ListesFiltres relues;
    verifier(lireEtReecrire(index, relues) == texte, "fichier réécrit relu différemment");
    verifier(!relues.ListeExpediteurs.Modifiee && !relues.ListeDestinataires.Modifiee, "réparation d'un fichier propre");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille) {
    const std::string_view octets(reinterpret_cast<const char*>(donnees), taille);
    for (IndexListe index : {ListeIndexExpediteurs, ListeIndexDestinataires, ListeIndexHistorique}) essayer(index, octets);
    return 0;
}

// Cible libFuzzer du fichier de paramètres : les octets reçus deviennent le fichier sur le
// disque ; lectures, écritures, Sections et Cles doivent tenir sans planter et garder leurs
// promesses (une écriture acceptée se relit, elle ne change aucune autre valeur).
//
// Construction, depuis /work/main :
//   clang++ -std=c++20 -g -O1 -fPIC -fsanitize=fuzzer,address,undefined \
//       $(pkg-config --cflags Qt6Core | sed 's/-I/-isystem /g') -Isrc \
//       fuzz/fuzz_fichier_ini.cpp src/donnees/FichierIni.cpp src/donnees/MotDePasse.cpp \
//       $(pkg-config --libs Qt6Core) -o build/fuzz_fichier_ini
// Lancement :
//   build/fuzz_fichier_ini -max_total_time=60 -max_len=4096
#include "FichierEssai.h"
#include "donnees/FichierIni.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

const QString& cheminDuFichier() {
    static const QString chemin = FichierEssai("fuzz_ini", "f.ini");
    return chemin;
}

void ecrireBrut(const QString& chemin, const std::string& octets) {
    QFile fichier(chemin);
    verifier(fichier.open(QIODevice::WriteOnly | QIODevice::Truncate), "ouverture du fichier d'essai");
    fichier.write(octets.data(), static_cast<qint64>(octets.size()));
}

std::string sansFinDeLigne(std::string texte) {
    for (char& c : texte)
        if (c == '\r' || c == '\n') c = ' ';
    return texte;
}

// Morceau des octets reçus, pour tirer des noms et des valeurs du contenu lui-même.
std::string morceau(const std::string& octets, std::size_t debut, std::size_t longueur) {
    return debut < octets.size() ? octets.substr(debut, longueur) : std::string();
}

using Valeurs = std::vector<std::pair<std::pair<std::string, std::string>, std::string>>;

// Toutes les valeurs visibles, lues par tous les codages.
Valeurs toutLire(const FichierIni& ini) {
    Valeurs valeurs;
    for (const std::string& section : ini.Sections()) {
        verifier(ini.SectionExiste(section), "section listée introuvable");
        for (const std::string& cle : ini.Cles(section)) {
            const std::string texte = ini.LireTexte(section, cle, "\n");
            verifier(texte != "\n", "clé listée introuvable");
            (void)ini.LireEntier(section, cle, 0);
            (void)ini.LireBooleen(section, cle, false);
            (void)LireCouleur(ini, section, cle, 0);
            (void)LireMotDePasse(ini, section, cle, "");
            (void)LireMultiLigne(ini, section, cle, "");
            valeurs.push_back({{section, cle}, texte});
        }
    }
    return valeurs;
}

void essayerEcriture(const QString& chemin, const std::string& octets) {
    const std::string section = morceau(octets, 0, 6);
    const std::string cle = morceau(octets, 6, 6);
    const std::string valeur = morceau(octets, 12, 40);
    FichierIni ini(chemin);
    const Valeurs avant = toutLire(ini);
    if (!ini.EcrireTexte(section, cle, valeur)) return;

    const FichierIni relu(chemin);
    const std::string attendue = sansFinDeLigne(valeur);
    verifier(relu.LireTexte(section, cle, "\n") == attendue, "valeur écrite relue différente");
    for (const auto& [nom, texte] : avant) {
        const std::string apres = relu.LireTexte(nom.first, nom.second, "\n");
        verifier(apres == texte || apres == attendue, "une autre valeur a changé");
    }

    // Réécrire la même valeur ne change pas un octet du fichier.
    QFile fichier(chemin);
    verifier(fichier.open(QIODevice::ReadOnly), "relecture du fichier");
    const QByteArray contenu = fichier.readAll();
    fichier.close();
    FichierIni autre(chemin);
    verifier(autre.EcrireTexte(section, cle, valeur), "seconde écriture");
    verifier(fichier.open(QIODevice::ReadOnly) && fichier.readAll() == contenu, "réécriture identique changée");

    if (valeur.size() <= 255 && valeur.find_first_of("\r\n") == std::string::npos) {
        verifier(EcrireMotDePasse(autre, section, cle, valeur), "écriture du mot de passe");
        verifier(LireMotDePasse(FichierIni(chemin), section, cle, "\n") == valeur, "mot de passe relu différent");
    }
    verifier(autre.EffacerSection(section), "effacement de la section");
    verifier(!FichierIni(chemin).SectionExiste(section), "section effacée encore là");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille) {
    const QString& chemin = cheminDuFichier();
    const std::string octets(reinterpret_cast<const char*>(donnees), taille);
    ecrireBrut(chemin, octets);
    (void)toutLire(FichierIni(chemin));
    essayerEcriture(chemin, octets);
    return 0;
}

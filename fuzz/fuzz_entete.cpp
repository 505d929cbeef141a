// Cible libFuzzer de la lecture du bloc d'en-tête et du résumé décodé d'un message : les
// octets reçus sont la réponse à TOP. Rien ne doit planter, et les valeurs tiennent leurs
// promesses (valeurs sur une ligne, Cc borné, sujet testé = sujet décodé en minuscules,
// adresse tirée de l'expéditeur testé).
//
// Construction, depuis /work/main :
//   clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -Isrc \
//       fuzz/fuzz_entete.cpp src/moteur/entete/*.cpp src/donnees/Casse1252.cpp \
//       src/donnees/Conversion1252.cpp -o build/fuzz_entete
// Lancement :
//   build/fuzz_entete -max_total_time=30 fuzz/corpus/fuzz_entete
#include "donnees/Casse1252.h"
#include "moteur/entete/Adresses.h"
#include "moteur/entete/ConstruireMessage.h"
#include "moteur/entete/EnteteMessage.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void verifier(bool condition, const char* quoi) {
    if (condition) return;
    std::fprintf(stderr, "promesse non tenue : %s\n", quoi);
    std::abort();
}

bool surUneLigne(const std::string& texte) { return texte.find('\n') == std::string::npos; }

void verifierEntete(const std::string& octets, const EnteteMessage& entete) {
    for (const std::string* valeur : {&entete.From, &entete.To, &entete.Subject, &entete.Date, &entete.ReturnPath,
                                      &entete.TypeMedia, &entete.Charset, &entete.EncodageTransfert})
        verifier(surUneLigne(*valeur), "valeur sur plusieurs lignes");
    std::size_t taille = 0;
    for (const std::string& ligne : entete.Lignes) {
        verifier(!ligne.empty() && surUneLigne(ligne), "ligne brute vide ou coupée");
        taille += ligne.size() + 1;
    }
    verifier(taille <= octets.size() + 1, "lignes brutes plus longues que le bloc");
}

void verifierMessage(const EnteteMessage& entete, const structMessage& message) {
    verifier(message.SujetTeste == AnsiLowerCase(message.SujetDecode), "sujet testé différent");
    verifier(message.AdresseExpediteur == ExtraireAdresse(message.ExpediteurTeste), "adresse d'expéditeur");
    verifier(message.ChampA == entete.To, "champ A");
    verifier(message.ChampCc.size() <= 255, "Cc trop long");
    verifier(message.TypeContenu == entete.Charset + "/" + entete.TypeMedia + "/" + entete.EncodageTransfert,
             "type de contenu");
    verifier(message.Uidl.empty() && message.NumeroMsg == 0 && message.Taille == 0, "champs du demandeur remplis");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* donnees, std::size_t taille) {
    const std::string octets(reinterpret_cast<const char*>(donnees), taille);
    const EnteteMessage entete = AnalyserEntete(octets);
    verifierEntete(octets, entete);
    const structMessage parFrom = ConstruireMessage(octets, false);
    verifierMessage(entete, parFrom);
    const structMessage parReturnPath = ConstruireMessage(octets, true);
    verifierMessage(entete, parReturnPath);
    verifier(parReturnPath.SujetDecode == parFrom.SujetDecode, "sujet dépendant du choix de l'expéditeur");
    return 0;
}

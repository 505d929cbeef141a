#pragma once
// Jokers personnels : des caractères choisis par l'utilisateur, chacun valant un caractère
// quelconque d'une liste qu'il donne. Gardés en mémoire dans l'ordre, avec leur libellé, et
// écrits aussitôt dans la section "JokerPerso" du fichier de paramètres.
#include "FichierIni.h"

#include <string>
#include <vector>

struct structListeJoker {
    char Joker = 0;           // le caractère du joker dans un motif
    std::string Caracteres;   // les caractères qu'il remplace
};

inline constexpr const char* kSectionJokers = "JokerPerso";
// Caractères proposés par défaut pour les jokers (octets Windows-1252).
inline constexpr const char* kListeJokersDefaut =
    "\xA2\xA4\xA5\xA9\xAA\xAE\xB0\xB1\xB2\xB3\xB9\xBC\xBD\xBE\xBF\xF0\xDF\xE6\xFE\xFF";

class JokersPerso {
public:
    // ListeJokersPerso et CaracteresJokersPerso, tenus en parallèle avec les libellés :
    // l'entrée k, le caractère k et le libellé k décrivent le même joker.
    const std::vector<structListeJoker>& ListeJokersPerso() const { return jokers_; }
    const std::string& CaracteresJokersPerso() const { return caracteres_; }
    const std::vector<std::string>& Libelles() const { return libelles_; }
    int Nombre() const { return static_cast<int>(jokers_.size()); }

    // Le joker d'un caractère de motif : le premier de la liste qui l'utilise ; nul sinon.
    const structListeJoker* JokerDe(char caractere) const;

    // Lecture de la section au démarrage (les valeurs de moins de 3 caractères sont sautées).
    void Charger(const FichierIni& ini);

    // Un libellé que le fichier de paramètres ne saurait garder tel quel : vide, avec "=",
    // commençant par ";" ou "[", ou avec un retour à la ligne. Rend le texte du refus, vide sinon.
    static std::string RefusLibelle(const std::string& libelle);

    // Opérations du gestionnaire de jokers ; chacune écrit aussitôt dans le fichier et rend
    // faux quand l'écriture a échoué (la mémoire est alors gardée comme demandé).
    bool Ajouter(FichierIni& ini, const std::string& libelle, char joker, const std::string& caracteres);
    bool ChangerCaracteres(FichierIni& ini, int index, const std::string& caracteres);
    bool Retirer(FichierIni& ini, int index);

private:
    bool ecrire(FichierIni& ini, int index) const;

    std::vector<structListeJoker> jokers_;
    std::string caracteres_;
    std::vector<std::string> libelles_;
};

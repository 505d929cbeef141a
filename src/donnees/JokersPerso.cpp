#include "JokersPerso.h"

#include "Chaines.h"

const structListeJoker* JokersPerso::JokerDe(char caractere) const {
    const std::size_t position = caracteres_.find(caractere);
    return position == std::string::npos ? nullptr : &jokers_[position];
}

void JokersPerso::Charger(const FichierIni& ini) {
    jokers_.clear();
    caracteres_.clear();
    libelles_.clear();
    if (!ini.SectionExiste(kSectionJokers)) return;
    for (const std::string& libelle : ini.Cles(kSectionJokers)) {
        const std::string valeur = ini.LireTexte(kSectionJokers, libelle, "");
        // Le premier caractère est le joker ; le deuxième (la virgule) n'est pas examiné.
        if (valeur.size() < 3) continue;
        jokers_.push_back({valeur[0], valeur.substr(2)});
        caracteres_.push_back(valeur[0]);
        libelles_.push_back(libelle);
    }
}

std::string JokersPerso::RefusLibelle(const std::string& libelle) {
    const bool illisible = libelle.empty() || libelle.find('=') != std::string::npos ||
                           libelle.front() == ';' || libelle.front() == '[' ||
                           libelle.find_first_of("\r\n") != std::string::npos;
    return illisible ? Chaine(90001) : std::string();
}

bool JokersPerso::ecrire(FichierIni& ini, int index) const {
    const auto k = static_cast<std::size_t>(index);
    return ini.EcrireTexte(kSectionJokers, libelles_[k], std::string(1, jokers_[k].Joker) + "," + jokers_[k].Caracteres);
}

bool JokersPerso::Ajouter(FichierIni& ini, const std::string& libelle, char joker, const std::string& caracteres) {
    jokers_.push_back({joker, caracteres});
    caracteres_.push_back(joker);
    libelles_.push_back(libelle);
    return ecrire(ini, Nombre() - 1);
}

bool JokersPerso::ChangerCaracteres(FichierIni& ini, int index, const std::string& caracteres) {
    if (index < 0 || index >= Nombre()) return false;
    jokers_[static_cast<std::size_t>(index)].Caracteres = caracteres;
    return ecrire(ini, index);
}

bool JokersPerso::Retirer(FichierIni& ini, int index) {
    if (index < 0 || index >= Nombre()) return false;
    const auto k = static_cast<std::size_t>(index);
    const bool ecrit = ini.EcrireTexte(kSectionJokers, libelles_[k], "");
    jokers_.erase(jokers_.begin() + index);
    caracteres_.erase(k, 1);
    libelles_.erase(libelles_.begin() + index);
    return ecrit;
}

#include "ParametresBoite.h"

#include "Casse1252.h"
#include "Chaines.h"
#include "MotDePasse.h"

#include <algorithm>

std::vector<std::string> SectionsBoites(const FichierIni& ini) {
    std::vector<std::string> noms = ini.Sections();
    std::erase_if(noms, [](const std::string& nom) { return MemeTexteSansCasse(nom, "Tessaron") || MemeTexteSansCasse(nom, "JokerPerso"); });
    return noms;
}

ParametresBoite LireParametresBoite(const FichierIni& ini, const std::string& section,
                                    const std::string* motDePasseDemarrage) {
    ParametresBoite p;
    p.Label = section;
    p.Pop3ID = ini.LireTexte(section, "Pop3ID", p.Pop3ID);
    p.Pop3Mail = ini.LireTexte(section, "Pop3Mail", p.Pop3Mail);
    std::string stocke = ini.LireTexte(section, "Pop3Mdp", "xwv");
    if (motDePasseDemarrage) stocke = MasquePasse(stocke, *motDePasseDemarrage);
    p.PasseClair = DebrouillePasse(stocke);
    p.TimeOut = ini.LireEntier(section, "TimeOut", p.TimeOut);
    p.Port = ini.LireEntier(section, "POP3Port", p.Port);
    p.Ssl = ini.LireBooleen(section, "Pop3SSL", p.Ssl);
    p.Intervalle = ini.LireEntier(section, "Intervalle", p.Intervalle);
    p.DestUnique = ini.LireTexte(section, "DestUnique", p.DestUnique);
    p.TypeRejet = ini.LireEntier(section, "TypeRejet", p.TypeRejet);
    p.NatureRejet = ini.LireEntier(section, "NatureRejet", p.NatureRejet);
    p.Demarrage = ini.LireBooleen(section, "Pop3Demar", p.Demarrage);
    p.Apop = ini.LireBooleen(section, "Pop3APOP", p.Apop);
    p.AppliqueRejets = ini.LireBooleen(section, "AppliqueRejets", p.AppliqueRejets);
    return p;
}

std::string RefusLibelleBoite(const std::string& libelle) {
    const bool illisible = libelle.empty() || libelle.find(']') != std::string::npos ||
                           libelle.find_first_of("\r\n") != std::string::npos || libelle.front() == '[' ||
                           libelle.front() == ';' || libelle.front() == ' ' || libelle.back() == ' ';
    const bool reserve = MemeTexteSansCasse(libelle, "Tessaron") || MemeTexteSansCasse(libelle, "JokerPerso");
    return illisible || reserve ? Chaine(2018) : std::string();
}

std::string ConstruireDestUnique(const std::string& domaine, const std::vector<std::string>& parties) {
    if (domaine.empty()) return {};
    std::string texte = domaine;
    for (const std::string& partie : parties) texte += "," + partie;
    return texte;
}

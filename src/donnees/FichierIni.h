#pragma once
// Fichier de paramètres à la manière des profils privés de Windows : une valeur par ligne
// "clé=valeur" sous des sections "[nom]" ; noms de section et de clé comparés sans casse ;
// l'ordre des sections est gardé ; les octets Windows-1252 sont stockés tels quels ;
// chaque écriture est sur le disque aussitôt, par remplacement atomique du fichier.
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

class FichierIni {
public:
    explicit FichierIni(QString chemin);

    const QString& chemin() const { return chemin_; }

    std::string LireTexte(const std::string& section, const std::string& cle, const std::string& defaut) const;
    // Un texte qui n'est pas un entier décimal (signé) donne le défaut.
    int LireEntier(const std::string& section, const std::string& cle, int defaut) const;
    // Lu comme un entier : toute valeur autre que 0 vaut vrai ; un non-entier donne le défaut.
    bool LireBooleen(const std::string& section, const std::string& cle, bool defaut) const;

    // Chaque écriture renvoie faux quand le fichier n'a pas pu être écrit (disque plein,
    // dossier protégé) ; le fichier sur le disque est alors celui d'avant, intact.
    bool EcrireTexte(const std::string& section, const std::string& cle, const std::string& valeur);
    bool EcrireEntier(const std::string& section, const std::string& cle, int valeur);
    bool EcrireBooleen(const std::string& section, const std::string& cle, bool valeur);

    std::vector<std::string> Sections() const;  // dans l'ordre du fichier
    std::vector<std::string> Cles(const std::string& section) const;
    bool SectionExiste(const std::string& section) const;
    bool EffacerSection(const std::string& section);

private:
    struct Ligne;
    struct Section;
    void recharger() const;  // relit le fichier quand il a changé sur le disque
    bool enregistrer();

    QString chemin_;
    // Contenu en mémoire, relu quand la date ou la taille du fichier change.
    mutable std::vector<Section> sections_;
    mutable std::vector<std::string> entete_;  // lignes avant la première section
    mutable std::int64_t dateConnue_ = -1;
    mutable std::int64_t tailleConnue_ = -1;
};

// Codages des valeurs.
// Couleur : entier 0x00BBGGRR ou couleur système 0xFF0000nn, écrit en décimal signé.
std::uint32_t LireCouleur(const FichierIni& ini, const std::string& section, const std::string& cle,
                          std::uint32_t defaut);
bool EcrireCouleur(FichierIni& ini, const std::string& section, const std::string& cle, std::uint32_t couleur);
// Mot de passe : BrouillePasse à l'écriture, DebrouillePasse à la lecture.
std::string LireMotDePasse(const FichierIni& ini, const std::string& section, const std::string& cle,
                           const std::string& defaut);
bool EcrireMotDePasse(FichierIni& ini, const std::string& section, const std::string& cle,
                      const std::string& clair);
// Texte sur plusieurs lignes : chaque CR LF est écrit "¶¶" (deux octets 0xB6) et relu CR LF.
std::string LireMultiLigne(const FichierIni& ini, const std::string& section, const std::string& cle,
                           const std::string& defaut);
bool EcrireMultiLigne(FichierIni& ini, const std::string& section, const std::string& cle,
                      const std::string& texte);

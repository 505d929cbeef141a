#pragma once
// Fichier de paramètres à la manière des profils privés de Windows : une valeur par ligne
// "clé=valeur" sous des sections "[nom]" ; noms de section et de clé comparés sans casse ;
// l'ordre des sections est gardé ; les octets Windows-1252 sont stockés tels quels ;
// chaque écriture est sur le disque aussitôt, par remplacement atomique du fichier.
#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
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

    // Écritures groupées : entre DebutLot et FinLot, les écritures ne changent que la mémoire
    // (le fichier n'est pas relu) ; FinLot remplace le fichier une seule fois et rend faux
    // quand cela a échoué (la mémoire redevient alors celle du disque).
    void DebutLot();
    bool FinLot();

    std::vector<std::string> Sections() const;  // dans l'ordre du fichier
    std::vector<std::string> Cles(const std::string& section) const;
    bool SectionExiste(const std::string& section) const;
    bool EffacerSection(const std::string& section);

private:
    // Ligne gardée sans sa fin de ligne ; pour une ligne "clé=valeur", egal est la position
    // du premier '=' (npos pour toute autre ligne, recopiée telle quelle).
    struct Ligne {
        std::string texte;
        std::size_t egal = std::string::npos;
    };
    struct Section {
        std::string nom;    // texte entre les crochets, sans les blancs autour
        std::string titre;  // ligne "[nom]" telle qu'elle est dans le fichier
        std::vector<Ligne> lignes;                          // jusqu'à la section suivante
        std::unordered_map<std::string, std::size_t> cles;  // clé repliée -> sa première ligne
        std::size_t apresDerniereCle = 0;                   // où ajouter une clé nouvelle
    };
    // Identité du fichier sur le disque (stat) : une différence oblige à le relire.
    struct Etat {
        bool present = false;
        bool ordinaire = false;  // fichier ordinaire (ni dossier, ni tube, ni périphérique)
        std::int64_t date = -1;  // en nanosecondes
        std::int64_t taille = -1;
        std::uint64_t inode = 0;
        std::uint64_t appareil = 0;
        bool operator==(const Etat&) const = default;
    };

    // État du chemin (descripteur < 0) ou du fichier ouvert sur ce descripteur.
    static Etat etatSurDisque(const QString& chemin, int descripteur);

    void recharger() const;  // relit le fichier quand il a changé sur le disque
    void charger(const Etat& etat) const;
    void analyser(std::string_view contenu) const;
    void ajouterLigneLue(std::string_view ligne) const;
    void vider() const;
    void reconstruireIndex() const;
    std::string serialiser() const;
    bool enregistrer();
    const Section* trouverSection(const std::string& nomReplie) const;
    const Ligne* trouverLigne(const std::string& section, const std::string& cle) const;
    Section& sectionPourEcrire(const std::string& nom);
    static bool poserCle(Section& section, const std::string& cle, const std::string& texte);

    QString chemin_;
    // Contenu en mémoire, relu quand la date, la taille ou l'inode du fichier change.
    mutable std::vector<Section> sections_;
    mutable std::vector<std::string> entete_;                      // lignes avant la première section
    mutable std::unordered_map<std::string, std::size_t> index_;  // nom replié -> première section
    mutable Etat etatConnu_;
    mutable std::optional<std::size_t> empreinte_;  // empreinte des octets chargés ou écrits
    mutable bool douteux_ = true;    // date trop récente pour prouver que rien n'a changé depuis
    mutable bool illisible_ = false; // fichier présent mais illisible : aucune écriture
    int lot_ = 0;                    // profondeur des écritures groupées en cours
    bool enAttente_ = false;         // des écritures groupées attendent d'être enregistrées
};

// Groupe les écritures d'une portée en un seul remplacement du fichier.
class LotEcritures {
public:
    explicit LotEcritures(FichierIni& ini) : ini_(ini) { ini_.DebutLot(); }
    ~LotEcritures() {
        if (!termine_) ini_.FinLot();
    }
    LotEcritures(const LotEcritures&) = delete;
    LotEcritures& operator=(const LotEcritures&) = delete;
    bool Terminer() {
        termine_ = true;
        return ini_.FinLot();
    }

private:
    FichierIni& ini_;
    bool termine_ = false;
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

#include "Classer.h"

#include "donnees/Casse1252.h"
#include "donnees/Chaines.h"
#include "donnees/Historique.h"

#include <string_view>

int RangAction(char lettre) {
    const std::size_t position = std::string_view(" cgdr").find(MinusculeAnsi(lettre));
    return position == std::string_view::npos ? 4 : static_cast<int>(position) - 1;
}

char LettreAction(int index, char defaut) {
    if (index < 0 || index > 4) return defaut;
    return MinusculeAnsi("Rdgc "[index]);
}

namespace {

char premiereLettre(const std::string& texte) { return texte.empty() ? '\0' : MinusculeAnsi(texte[0]); }

bool commencePar(const std::string& texte, char c) { return !texte.empty() && texte[0] == c; }

// Une classification en cours : l'état remis à zéro pour chaque message.
class Classement {
public:
    Classement(structMessage& message, const BoiteAClasser& boite, ContexteClassement& contexte)
        : m_(message), boite_(boite), c_(contexte), ctx_(contexte.correspondance) {}

    ResultatClassement Executer() {
        if (expediteurs() || sujets()) return accepte();
        destinatairesVides();
        sansArobase();
        if (destinataires()) return accepte();
        exclusifs();
        decider();
        verifierExpediteur();
        if (!c_.regles.FiltresActifs) r_.Decision = ' ';
        journal(1451, "pas de filtre ami pour ce message de " + m_.AdresseExpediteur + " d'UIDL : " + m_.Uidl);
        return r_;
    }

private:
    ResultatClassement accepte() {
        r_.Ami = true;
        r_.Decision = ' ';
        return r_;
    }

    void journal(int numero, const std::string& texte) const { c_.journal(numero, texte); }

    // Le motif de la ligne, mis en minuscules avant usage.
    const std::string& motif(const structFiltre& f) {
        motif_ = AnsiLowerCase(f.Motif);
        return motif_;
    }

    // Une ligne de rejet qui correspond : retenue quand son action est de rang strictement supérieur.
    void retenirRejet(ListeFiltres& liste, int index, char& action, FiltreRetenu& retenu, int raison) {
        const structFiltre& f = liste.Lignes[static_cast<std::size_t>(index)];
        if (RangAction(premiereLettre(f.Avant)) > RangAction(action)) {
            retenu = {index, f};
            action = premiereLettre(f.Avant);
        }
        r_.RaisonInterception = raison;
        liste.Modifiee = true;
    }

    // Vrai quand un ami accepte le message.
    bool expediteurs() {
        ListeFiltres& liste = c_.listes.ListeExpediteurs;
        const int n = static_cast<int>(liste.Lignes.size());
        int k = 0;
        for (; k < n; ++k) {
            const structFiltre& f = liste.Lignes[static_cast<std::size_t>(k)];
            if (!Correspond(ctx_, motif(f), m_.AdresseExpediteur)) continue;
            if (f.Ami) {
                journal(1191, "Correspondance du filtre *AMI* \"" + motif_ + "\" avec l'exp\xE9" "diteur \"" +
                                  m_.AdresseExpediteur + "\" - UIDL : " + m_.Uidl);
                r_.MarquesFiltres[MarqueExpediteur] = MarqueFiltre(f.Motif);
                r_.FiltreExpediteur = {k, f};
                break;
            }
            journal(1187, "Correspondance du filtre \"" + motif_ + "\" avec l'exp\xE9" "diteur \"" +
                              m_.AdresseExpediteur + "\" - UIDL : " + m_.Uidl);
            const int avant = r_.FiltreExpediteur.Index;
            retenirRejet(liste, k, r_.ActionExpediteur, r_.FiltreExpediteur, 1016);
            if (r_.FiltreExpediteur.Index != avant) r_.MarquesFiltres[MarqueExpediteur] = MarqueFiltre(f.Motif);
            r_.Causes[MarqueExpediteur] = true;
        }
        journal(1207, "Sortie de la boucle sur le filtre exp. N\xB0 " + std::to_string(k) + "/" + std::to_string(n) +
                          " avec l'exp\xE9" "diteur \"" + m_.AdresseExpediteur + "\" - UIDL : " + m_.Uidl);
        return k < n;
    }

    void sujetVide() {
        if (!m_.SujetTeste.empty()) return;
        journal(1213, "Sujet VIDE pour message d'UIDL : " + m_.Uidl);
        m_.SujetTeste = Chaine(1093);
        if (c_.regles.SujetVide >= 0 && c_.regles.SujetVide < 3) {
            m_.SujetTeste += kEspaceInsecable;
            r_.ActionSujet = LettreAction(c_.regles.SujetVide, ' ');
            r_.Causes[MarqueSujet] = true;
        }
    }

    bool correspondSujet(const structFiltre& f) {
        const std::string& p = motif(f);
        if (commencePar(p, kMarqueMotsMultiples) && CorrespondMotsMultiples(ctx_, p, m_.SujetTeste)) return true;
        return Correspond(ctx_, p, m_.SujetTeste);
    }

    bool sujets() {
        sujetVide();
        if (r_.ActionSujet == 'r') return false;
        ListeFiltres& liste = c_.listes.ListeSujets;
        const int n = static_cast<int>(liste.Lignes.size());
        int k = 0;
        for (; k < n; ++k) {
            const structFiltre& f = liste.Lignes[static_cast<std::size_t>(k)];
            if (!correspondSujet(f)) continue;
            if (f.Ami) {
                journal(1236, "Correspondance du filtre *AMI* \"" + motif_ + "\" avec le sujet \"" + m_.SujetTeste +
                                  "\" - UIDL : " + m_.Uidl);
                r_.MarquesFiltres[MarqueSujet] = MarqueFiltre(f.Motif);
                r_.FiltreSujet = {k, f};
                break;
            }
            journal(1232, "Correspondance du filtre \"" + motif_ + "\" avec le sujet \"" + m_.SujetTeste +
                              "\" - UIDL : " + m_.Uidl);
            const int avant = r_.FiltreSujet.Index;
            retenirRejet(liste, k, r_.ActionSujet, r_.FiltreSujet, 1017);
            if (r_.FiltreSujet.Index != avant) r_.MarquesFiltres[MarqueSujet] = MarqueFiltre(f.Motif);
            r_.Causes[MarqueSujet] = true;
        }
        journal(1252, "Sortie de la boucle sur le filtre sujet N\xB0 " + std::to_string(k) + "/" + std::to_string(n) +
                          "\" avec le sujet \"" + m_.SujetTeste + "\" - UIDL : " + m_.Uidl);
        return k < n;
    }

    void destinatairesVides() {
        if (!m_.ChampA.empty() || !m_.ChampCc.empty()) return;
        r_.ActionDestinataire = LettreAction(c_.regles.DestAVide, 'c');
        r_.Causes[MarqueA] = r_.Causes[MarqueCc] = true;
        r_.DestinataireVide = true;
    }

    void sansArobase() {
        const auto sans = [](const std::string& champ) { return !champ.empty() && champ.find('@') == std::string::npos; };
        if (!sans(m_.ChampA) && !sans(m_.ChampCc)) return;
        const char lettre = LettreAction(c_.regles.DestPasArobase, 'c');
        if (RangAction(lettre) > RangAction(r_.ActionDestinataire)) r_.ActionDestinataire = lettre;
    }

    // Les mots d'un motif "§" se trouvent tous dans le champ, tel qu'il est écrit.
    bool motsDans(const std::string& champ) const {
        for (std::string_view mot : mots_)
            if (mot.empty() || champ.find(mot) == std::string::npos) return false;
        return true;
    }

    // Bits des champs qui correspondent à la ligne : 1 pour À, 2 pour Cc.
    int champsQuiCorrespondent(const structFiltre& f) {
        const std::string& p = motif(f);
        const char champ = f.Champ.empty() ? 'A' : f.Champ[0];
        const bool testeA = champ == 'A' || champ == 'L';
        const bool testeCc = champ == 'C' || champ == 'L';
        int bits = 0;
        if (commencePar(p, kMarqueMotsMultiples)) {
            MotsDuMotif(p, mots_);
            if (testeA && motsDans(m_.ChampA)) bits |= 1;
            if (testeCc && motsDans(m_.ChampCc)) bits |= 2;
        }
        if (testeA && !(bits & 1) && Correspond(ctx_, p, m_.ChampA)) bits |= 1;
        if (testeCc && !(bits & 2) && Correspond(ctx_, p, m_.ChampCc)) bits |= 2;
        if (bits & 1) {
            r_.Causes[MarqueA] = true;
            journal(1314, "Correspondance du filtre \"" + p + "\" avec le destinataire A \"" + m_.ChampA + "\" - UIDL : " + m_.Uidl);
        }
        if (bits & 2) {
            r_.Causes[MarqueCc] = true;
            journal(1321, "Correspondance du filtre \"" + p + "\" avec le destinataire Cc \"" + m_.ChampCc + "\" - UIDL : " + m_.Uidl);
        }
        return bits;
    }

    void marquerDestinataires(const structFiltre& f, int bits) {
        if (bits & 1) r_.MarquesFiltres[MarqueA] = MarqueFiltre(f.Motif);
        if (bits & 2) r_.MarquesFiltres[MarqueCc] = MarqueFiltre(f.Motif);
    }

    bool destinataires() {
        if (r_.ActionDestinataire == 'r') return false;
        ListeFiltres& liste = c_.listes.ListeDestinataires;
        const int n = static_cast<int>(liste.Lignes.size());
        int k = 0;
        for (; k < n; ++k) {
            const structFiltre& f = liste.Lignes[static_cast<std::size_t>(k)];
            const int bits = champsQuiCorrespondent(f);
            if (bits == 0) continue;
            if (f.Ami) {
                journal(1330, "Destinataire *AMI* pour UIDL " + m_.Uidl);
                marquerDestinataires(f, bits);
                r_.FiltreDestinataire = {k, f};
                break;
            }
            r_.ChampsRejetes |= bits;
            const int avant = r_.FiltreDestinataire.Index;
            retenirRejet(liste, k, r_.ActionDestinataire, r_.FiltreDestinataire, 1018);
            if (r_.FiltreDestinataire.Index != avant) {
                if (bits & 1) journal(1346, "Filtre Dest. Principal pour UIDL " + m_.Uidl);
                if (bits & 2) journal(1351, "Filtre Dest. en copie pour UIDL " + m_.Uidl);
                marquerDestinataires(f, bits);
            }
        }
        journal(1358, "Sortie de la boucle sur le filtre dest. N\xB0 " + std::to_string(k) + "/" + std::to_string(n) +
                          " avec le destinataire A \"" + m_.ChampA + "\" - UIDL : " + m_.Uidl);
        return k < n;
    }

    void exclusifs() {
        if (boite_.DestUnique.empty()) return;
        if (VerifierDestExclusifs(m_.ChampA, m_.ChampCc, boite_.NatureRejet, boite_.DestUnique, r_.ResultatExclusif,
                                  c_.journal))
            return;
        r_.Causes[MarqueA] = r_.Causes[MarqueCc] = true;
        r_.ActionExclusif = boite_.TypeRejet.empty() ? 'g' : MinusculeAnsi(boite_.TypeRejet[0]);
        journal(1375, "Destinataire exclusif de nature " + std::to_string(r_.ResultatExclusif) +
                          " provoque rejet pour message de " + m_.AdresseExpediteur + " d'UIDL: " + m_.Uidl);
    }

    void decider() {
        const std::array<char, 4> actions = {r_.ActionExpediteur, r_.ActionSujet, r_.ActionDestinataire, r_.ActionExclusif};
        const auto une = [&actions](char lettre) { return std::find(actions.begin(), actions.end(), lettre) != actions.end(); };
        if (c_.regles.ExpEtSujetDetruire && r_.ActionExpediteur == 'd' && r_.ActionSujet == 'd') {
            journal(1398, "Exp\xE9" "diteur " + m_.AdresseExpediteur + " ET Sujet " + m_.SujetTeste +
                              " en d\xE9truire 30s - UIDL : " + m_.Uidl);
            r_.Decision = 'r';
        } else {
            r_.Decision = une('r') ? 'r' : une('d') ? 'd' : une('g') ? 'g' : une('c') ? 'c' : ' ';
        }
        if (!boite_.AppliqueRejets) r_.Decision = 'c';
        if (r_.ActionExclusif != ' ') r_.ChampsRejetes |= 4;
    }

    void verifierExpediteur() {
        VerificationExpediteur* v = c_.verification;
        if (!v) return;
        v->Reinitialiser();
        if (r_.Decision != 'r' && c_.regles.RejetInex) {
            try {
                v->VerifierExpediteur(m_.ExpediteurTeste);
            } catch (...) {
                // Une erreur de la vérification laisse la décision telle qu'elle est.
            }
        }
        r_.ExpediteurInexistant = v->EtatVerification() < 0;
        if (!v->DecisionInexistant()) return;
        journal(1443, "Exp\xE9" "diteur " + m_.AdresseExpediteur + " invalide - UIDL : " + m_.Uidl);
        const char lettre = LettreAction(c_.regles.AvantRejetInex, ' ');
        if (RangAction(lettre) > RangAction(r_.Decision)) r_.Decision = lettre;
    }

    structMessage& m_;
    const BoiteAClasser& boite_;
    ContexteClassement& c_;
    const ContexteCorrespondance& ctx_;
    ResultatClassement r_;
    std::string motif_;
    std::vector<std::string_view> mots_;
};

} // namespace

ResultatClassement Classer(structMessage& message, const BoiteAClasser& boite, ContexteClassement& contexte) {
    return Classement(message, boite, contexte).Executer();
}

#include "ParametresGlobaux.h"

#include "Casse1252.h"
#include "FichierIni.h"
#include "MotDePasse.h"

namespace {

constexpr const char* kSection = kSectionGlobale;

// Liste de lettres lue vide par défaut, passée en minuscules, remplacée par `defaut` si vide.
std::string lireListeLettres(const FichierIni& ini, const char* cle, const char* defaut) {
    const std::string lue = AnsiLowerCase(ini.LireTexte(kSection, cle, ""));
    return lue.empty() ? std::string(defaut) : lue;
}

std::string cleColonne(const char* prefixe, std::size_t numero) { return prefixe + std::to_string(numero); }

void lireFenetre(const FichierIni& ini, ParametresGlobaux& p) {
    p.PlusieursInstances = ini.LireBooleen(kSection, "PlusieursInstances", p.PlusieursInstances);
    p.ModeDebug = ini.LireBooleen(kSection, "ModeDebug", p.ModeDebug);
    p.Version = ini.LireTexte(kSection, "Version", p.Version);
    p.Top = std::max(0, ini.LireEntier(kSection, "Top", p.Top));
    p.Left = std::max(0, ini.LireEntier(kSection, "Left", p.Left));
    p.Height = ini.LireEntier(kSection, "Height", p.Height);
    p.Width = ini.LireEntier(kSection, "Width", p.Width);
    p.PleinEcran = ini.LireBooleen(kSection, "PleinEcran", p.PleinEcran);
    p.HauteurBoites = ini.LireEntier(kSection, "HauteurBoites", p.HauteurBoites);
    for (std::size_t n = 0; n < p.Col.size(); ++n) p.Col[n] = ini.LireEntier(kSection, cleColonne("Col", n), -1);
    p.CouleurListes = LireCouleur(ini, kSection, "CouleurListes", p.CouleurListes);
    p.NbEvenements = ini.LireEntier(kSection, "NbEvenements", p.NbEvenements);
    p.ToutSelectionner = ini.LireBooleen(kSection, "ToutSelectionner", p.ToutSelectionner);
    p.Messager = ini.LireTexte(kSection, "Messager", p.Messager);
    p.Protege = DebrouillePasse(ini.LireTexte(kSection, "Protege", ""));
}

void lireReleve(const FichierIni& ini, ParametresGlobaux& p) {
    p.TestInternet = ini.LireBooleen(kSection, "TestInternet", p.TestInternet);
    p.RecenseDemar = ini.LireBooleen(kSection, "RecenseDemar", p.RecenseDemar);
    p.VerifVersionDemar = ini.LireBooleen(kSection, "VerifVersionDemar", p.VerifVersionDemar);
    p.FiltresActifs = ini.LireBooleen(kSection, "FiltresActifs", p.FiltresActifs);
    p.DelaiRejeterGarder = ini.LireEntier(kSection, "DelaiRejeterGarder", p.DelaiRejeterGarder);
    p.DelaiAvantRejeterActif = ini.LireEntier(kSection, "DelaiAvantRejeterActif", p.DelaiAvantRejeterActif);
    p.NbLigMsg = ini.LireEntier(kSection, "NbLigMsg", p.NbLigMsg);
    p.Son = ini.LireBooleen(kSection, "Son", p.Son);
    p.FichierSon = ini.LireTexte(kSection, "FichierSon", "");
    p.SonRejet = ini.LireTexte(kSection, "SonRejet", "");
    p.SonAmi = ini.LireTexte(kSection, "SonAmi", "");
    p.AlerteVisuelleRejet = ini.LireBooleen(kSection, "AlerteVisuelleRejet", p.AlerteVisuelleRejet);
    p.IconeListeBlanche = ini.LireBooleen(kSection, "IconeListeBlanche", p.IconeListeBlanche);
    p.AfficheAmis = ini.LireBooleen(kSection, "AfficheAmis", p.AfficheAmis);
    p.HistoriseSuppression = ini.LireBooleen(kSection, "HistoriseSuppression", p.HistoriseSuppression);
}

void lireFiltrage(const FichierIni& ini, ParametresGlobaux& p) {
    p.ListeConsonnes = lireListeLettres(ini, "ListeConsonnes", kListeConsonnesDefaut);
    p.ListeAlphaNum = lireListeLettres(ini, "ListeAlphaNum", kListeAlphaNumDefaut);
    p.ListeJokers = ini.LireTexte(kSection, "ListeJokers", p.ListeJokers);
    p.SujetVide = ini.LireEntier(kSection, "SujetVide", p.SujetVide);
    p.DestAVide = ini.LireEntier(kSection, "DestAVide", p.DestAVide);
    p.DestPasArobase = ini.LireEntier(kSection, "DestPasArobase", p.DestPasArobase);
    p.ExpEtSujetDetruire = ini.LireBooleen(kSection, "ExpEtSujetDetruire", p.ExpEtSujetDetruire);
    p.FromReturnPath = ini.LireEntier(kSection, "FromReturnPath", p.FromReturnPath);
    p.RejetInex = ini.LireBooleen(kSection, "RejetInex", p.RejetInex);
    p.ConditionsRejetInex = ini.LireEntier(kSection, "ConditionsRejetInex", p.ConditionsRejetInex);
    p.AvantRejetInex = ini.LireEntier(kSection, "AvantRejetInex", p.AvantRejetInex);
    p.IPDns = ini.LireTexte(kSection, "IPDns", p.IPDns);
}

void lireHistoriqueEtReponse(const FichierIni& ini, ParametresGlobaux& p) {
    p.NbHisto = ini.LireEntier(kSection, "NbHisto", p.NbHisto);
    p.HistoNbLigSav = ini.LireBooleen(kSection, "HistoNbLigSav", p.HistoNbLigSav);
    p.NbHistoDate = ini.LireEntier(kSection, "NbHistoDate", p.NbHistoDate);
    p.HistoDateSav = ini.LireBooleen(kSection, "HistoDateSav", p.HistoDateSav);
    for (std::size_t n = 0; n < p.ColHist.size(); ++n)
        p.ColHist[n] = ini.LireEntier(kSection, cleColonne("ColHist", n), 0);
    p.SMTPServeur = ini.LireTexte(kSection, "SMTPServeur", p.SMTPServeur);
    p.SMTPAuth = ini.LireBooleen(kSection, "SMTPAuth", p.SMTPAuth);
    p.SMTPId = ini.LireTexte(kSection, "SMTPId", p.SMTPId);
    // La valeur par défaut passe par le débrouillage comme toute valeur lue.
    p.SMTPMdP = DebrouillePasse(ini.LireTexte(kSection, "SMTPMdP", "kelvorinta"));
    p.PortSMTP = ini.LireEntier(kSection, "PortSMTP", p.PortSMTP);
    p.SpamTexte = LireMultiLigne(ini, kSection, "SpamTexte", p.SpamTexte);
    p.SMTPExped = ini.LireTexte(kSection, "SMTPExped", p.SMTPExped);
    p.RejTop = ini.LireEntier(kSection, "RejTop", p.RejTop);
    p.RejLeft = ini.LireEntier(kSection, "RejLeft", p.RejLeft);
    p.RejHeight = ini.LireEntier(kSection, "RejHeight", p.RejHeight);
    p.RejWidth = ini.LireEntier(kSection, "RejWidth", p.RejWidth);
    p.NbFicSauv = ini.LireEntier(kSection, "NbFicSauv", p.NbFicSauv);
    p.DelaiVersion = ini.LireEntier(kSection, "DelaiVersion", p.DelaiVersion);
    p.DateActualites = ini.LireTexte(kSection, "DateActualites", p.DateActualites);
}

} // namespace

std::string SpamTexteDefaut() {
    return "Votre message a \xE9t\xE9 refus\xE9 par le destinataire \r\n"
           "en raison de la pr\xE9sence d'un filtre \r\n"
           "anti-spam.\r\n"
           "Si votre message n'\xE9tait pas un spam, veuillez \r\n"
           "avertir son destinataire par un autre moyen afin \r\n"
           "qu'il corrige son filtre.";
}

ParametresGlobaux LireParametresGlobaux(const FichierIni& ini) {
    ParametresGlobaux p;
    lireFenetre(ini, p);
    lireReleve(ini, p);
    lireFiltrage(ini, p);
    lireHistoriqueEtReponse(ini, p);
    return p;
}

bool SauverParametresGlobaux(FichierIni& ini, const ParametresGlobaux& p, const std::string& versionProgramme) {
    LotEcritures lot(ini);
    const auto texte = [&ini](const char* cle, const std::string& v) { ini.EcrireTexte(kSection, cle, v); };
    const auto entier = [&ini](const std::string& cle, int v) { ini.EcrireEntier(kSection, cle, v); };
    const auto booleen = [&ini](const char* cle, bool v) { ini.EcrireBooleen(kSection, cle, v); };
    texte("Version", versionProgramme);
    booleen("TestInternet", p.TestInternet);
    booleen("RecenseDemar", p.RecenseDemar);
    booleen("IconeListeBlanche", p.IconeListeBlanche);
    booleen("AlerteVisuelleRejet", p.AlerteVisuelleRejet);
    booleen("HistoriseSuppression", p.HistoriseSuppression);
    booleen("VerifVersionDemar", p.VerifVersionDemar);
    booleen("AfficheAmis", p.AfficheAmis);
    entier("NbFicSauv", p.NbFicSauv);
    entier("DelaiRejeterGarder", p.DelaiRejeterGarder);
    booleen("RejetInex", p.RejetInex);
    entier("ConditionsRejetInex", p.ConditionsRejetInex);
    entier("AvantRejetInex", p.AvantRejetInex);
    texte("IPDns", p.IPDns);
    booleen("Son", p.Son);
    entier("NbHisto", p.NbHisto);
    booleen("HistoNbLigSav", p.HistoNbLigSav);
    entier("NbHistoDate", p.NbHistoDate);
    booleen("HistoDateSav", p.HistoDateSav);
    booleen("PleinEcran", p.PleinEcran);
    entier("Top", p.Top);
    entier("Left", p.Left);
    entier("Width", p.Width);
    entier("Height", p.Height);
    texte("ListeConsonnes", p.ListeConsonnes);
    texte("ListeAlphaNum", p.ListeAlphaNum);
    for (std::size_t n = 0; n < p.Col.size(); ++n) entier(cleColonne("Col", n), p.Col[n]);
    entier("HauteurBoites", p.HauteurBoites);
    entier("SujetVide", p.SujetVide);
    entier("DestAVide", p.DestAVide);
    entier("DestPasArobase", p.DestPasArobase);
    booleen("ExpEtSujetDetruire", p.ExpEtSujetDetruire);
    entier("FromReturnPath", p.FromReturnPath);
    for (std::size_t n = 0; n < p.ColHist.size(); ++n) entier(cleColonne("ColHist", n), p.ColHist[n]);
    booleen("FiltresActifs", p.FiltresActifs);
    return lot.Terminer();
}

bool SauverGeometrieFiltres(FichierIni& ini, const ParametresGlobaux& p) {
    LotEcritures lot(ini);
    ini.EcrireEntier(kSection, "RejTop", p.RejTop);
    ini.EcrireEntier(kSection, "RejLeft", p.RejLeft);
    ini.EcrireEntier(kSection, "RejHeight", p.RejHeight);
    ini.EcrireEntier(kSection, "RejWidth", p.RejWidth);
    return lot.Terminer();
}

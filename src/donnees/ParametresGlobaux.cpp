#include "ParametresGlobaux.h"

#include "FichierIni.h"

ParametresGlobaux LireParametresGlobaux(const FichierIni& ini) {
    ParametresGlobaux p;
    const std::string s = "Tessaron";
    p.TestInternet = ini.LireBooleen(s, "TestInternet", p.TestInternet);
    p.RecenseDemar = ini.LireBooleen(s, "RecenseDemar", p.RecenseDemar);
    p.VerifVersionDemar = ini.LireBooleen(s, "VerifVersionDemar", p.VerifVersionDemar);
    p.Son = ini.LireBooleen(s, "Son", p.Son);
    p.FichierSon = ini.LireTexte(s, "FichierSon", p.FichierSon);
    p.NbEvenements = ini.LireEntier(s, "NbEvenements", p.NbEvenements);
    return p;
}

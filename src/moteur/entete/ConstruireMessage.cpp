#include "ConstruireMessage.h"

#include "Adresses.h"
#include "DateEntete.h"
#include "DecoderTexteEntete.h"
#include "EnteteMessage.h"
#include "donnees/Casse1252.h"

namespace {

std::string expediteurATester(const EnteteMessage& entete, bool returnPath) {
    if (returnPath && !ExtraireAdresse(AnsiLowerCase(DecoderTexteEntete(entete.ReturnPath))).empty())
        return entete.ReturnPath;
    return DecoderTexteEntete(entete.From);
}

} // namespace

structMessage ConstruireMessage(const std::string& lignesEntete, bool returnPath) {
    const EnteteMessage entete = AnalyserEntete(lignesEntete);
    structMessage message;
    message.ExpediteurTeste = expediteurATester(entete, returnPath);
    message.AdresseExpediteur = ExtraireAdresse(message.ExpediteurTeste);
    message.SujetDecode = DecoderTexteEntete(entete.Subject);
    message.SujetTeste = AnsiLowerCase(message.SujetDecode);
    message.ChampA = entete.To;
    message.ChampCc = LireChampCc(entete.Lignes);
    message.DateAffichee = FormaterDateEntete(entete.Date);
    message.TypeContenu = entete.Charset + "/" + entete.TypeMedia + "/" + entete.EncodageTransfert;
    message.Multipart = AnsiLowerCase(entete.TypeMedia).find("multipart") != std::string::npos;
    return message;
}

#include "CorpsMessage.h"

#include "donnees/Conversion1252.h"

#include <gmime/gmime.h>
#include <iconv.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <memory>

namespace {

// Au-delà, les parties imbriquées ne sont plus parcourues (message fabriqué pour nuire).
constexpr int kProfondeurMax = 32;

// GMime s'initialise une seule fois, au premier décodage, quel que soit le fil qui l'appelle.
void initialiserGMime() {
    static const bool initialise = [] {
        g_mime_init();
        return true;
    }();
    (void)initialise;
}

// Objet GLib libéré à la sortie de la portée.
struct LibererObjet {
    void operator()(void* objet) const {
        if (objet) g_object_unref(objet);
    }
};
template <typename T>
using Objet = std::unique_ptr<T, LibererObjet>;

std::string minuscules(std::string_view texte) {
    std::string resultat(texte);
    std::transform(resultat.begin(), resultat.end(), resultat.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return resultat;
}

// CR LF devient LF : l'analyseur et les décodeurs de GMime n'ont qu'une sorte de fin de ligne.
std::string finsDeLigneLf(std::string_view brut) {
    std::string texte;
    texte.reserve(brut.size());
    for (std::size_t i = 0; i < brut.size(); ++i) {
        if (brut[i] == '\r' && i + 1 < brut.size() && brut[i + 1] == '\n') continue;
        texte += brut[i];
    }
    return texte;
}

// Le corps sans décodage : ce qui suit la première ligne vide.
std::string corpsBrut(const std::string& texte) {
    if (texte.starts_with('\n')) return texte.substr(1);
    const std::size_t vide = texte.find("\n\n");
    return vide == std::string::npos ? std::string() : texte.substr(vide + 2);
}

bool estTexte(GMimeObject* objet, const char* sousType) {
    GMimeContentType* type = g_mime_object_get_content_type(objet);
    return type && g_mime_content_type_is_type(type, "text", sousType);
}

// Première partie text/plain (ou, faute de mieux, text/html) d'un multipart, pièces jointes
// et messages joints exclus.
struct Candidates {
    GMimePart* texte = nullptr;
    GMimePart* html = nullptr;
};

void chercherTexte(GMimeObject* objet, int profondeur, Candidates& trouvees) {
    if (trouvees.texte || profondeur > kProfondeurMax) return;
    if (GMIME_IS_MULTIPART(objet)) {
        GMimeMultipart* multipart = GMIME_MULTIPART(objet);
        const int nombre = g_mime_multipart_get_count(multipart);
        for (int i = 0; i < nombre && !trouvees.texte; ++i)
            chercherTexte(g_mime_multipart_get_part(multipart, i), profondeur + 1, trouvees);
        return;
    }
    if (!GMIME_IS_PART(objet) || g_mime_part_is_attachment(GMIME_PART(objet))) return;
    if (estTexte(objet, "plain")) trouvees.texte = GMIME_PART(objet);
    else if (!trouvees.html && estTexte(objet, "html")) trouvees.html = GMIME_PART(objet);
}

// La partie à montrer ; nulle quand il n'y en a pas.
GMimePart* partieAMontrer(GMimeObject* objet, int profondeur) {
    if (!objet || profondeur > kProfondeurMax) return nullptr;
    if (GMIME_IS_MESSAGE_PART(objet)) {
        GMimeMessage* joint = g_mime_message_part_get_message(GMIME_MESSAGE_PART(objet));
        return joint ? partieAMontrer(g_mime_message_get_mime_part(joint), profondeur + 1) : nullptr;
    }
    if (GMIME_IS_MULTIPART(objet)) {
        Candidates trouvees;
        chercherTexte(objet, profondeur, trouvees);
        return trouvees.texte ? trouvees.texte : trouvees.html;
    }
    return GMIME_IS_PART(objet) ? GMIME_PART(objet) : nullptr;
}

// Le contenu de la partie, codage de transfert défait.
std::string contenuDecode(GMimePart* partie) {
    GMimeDataWrapper* contenu = g_mime_part_get_content(partie);
    if (!contenu) return {};
    Objet<GMimeStream> flux(g_mime_stream_mem_new());
    g_mime_data_wrapper_write_to_stream(contenu, flux.get());
    const GByteArray* octets = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(flux.get()));
    if (!octets || octets->len == 0) return {};
    return std::string(reinterpret_cast<const char*>(octets->data), octets->len);
}

// Texte du jeu `jeu` -> UTF-8 par iconv ; une séquence invalide devient "?" (un octet sauté),
// une séquence coupée à la fin aussi. Faux quand iconv ne connaît pas le jeu.
bool versUtf8(const std::string& texte, const char* jeu, std::string& utf8) {
    iconv_t conversion = iconv_open("UTF-8", jeu);
    if (conversion == reinterpret_cast<iconv_t>(-1)) return false;
    std::string entree = texte;  // iconv veut un tampon modifiable
    char* lu = entree.data();
    std::size_t resteEntree = entree.size();
    std::array<char, 4096> tampon{};
    for (;;) {
        char* ecrit = tampon.data();
        std::size_t resteSortie = tampon.size();
        const std::size_t n = iconv(conversion, resteEntree ? &lu : nullptr, &resteEntree, &ecrit, &resteSortie);
        utf8.append(tampon.data(), static_cast<std::size_t>(ecrit - tampon.data()));
        if (n != static_cast<std::size_t>(-1)) {
            if (resteEntree == 0) break;
            continue;
        }
        if (errno == E2BIG) continue;
        utf8 += '?';
        if (errno != EILSEQ || resteEntree == 0) break;  // fin coupée, ou erreur inattendue
        ++lu;
        --resteEntree;
    }
    iconv_close(conversion);
    return true;
}

// Les jeux dont les octets se lisent tels quels en Windows-1252.
bool familleWindows1252(const std::string& jeu) {
    static constexpr std::array<std::string_view, 11> kNoms = {
        "windows-cp1252", "windows-1252", "cp1252", "iso-8859-1", "iso8859-1", "iso_8859-1",
        "latin1", "l1", "us-ascii", "ascii", "ansi_x3.4-1968"};
    return std::find(kNoms.begin(), kNoms.end(), jeu) != kNoms.end();
}

std::string versWindows1252(const std::string& texte, std::string_view jeuDeclare) {
    if (jeuDeclare.empty()) return texte;
    const std::string jeu(jeuDeclare);
    const std::string canonique = minuscules(g_mime_charset_canon_name(jeu.c_str()));
    if (canonique == "utf-8") return Utf8VersAnsi(texte);
    if (familleWindows1252(canonique)) return texte;
    std::string utf8;
    if (!versUtf8(texte, g_mime_charset_iconv_name(jeu.c_str()), utf8)) return texte;
    return Utf8VersAnsi(utf8);
}

// Coupe en lignes suivies de CR LF ; LF seul ou CR LF terminent une ligne.
std::vector<std::string> decouper(const std::string& texte) {
    std::vector<std::string> lignes;
    std::size_t debut = 0;
    while (debut < texte.size()) {
        const std::size_t fin = texte.find('\n', debut);
        if (fin == std::string::npos) {
            lignes.push_back(texte.substr(debut));
            break;
        }
        std::size_t finTexte = fin;
        if (finTexte > debut && texte[finTexte - 1] == '\r') --finTexte;
        lignes.push_back(texte.substr(debut, finTexte - debut) + "\r\n");
        debut = fin + 1;
    }
    return lignes;
}

// Le texte de la partie à montrer, en Windows-1252 ; faux quand l'analyse MIME échoue.
bool decoderMime(const std::string& texte, std::string_view jeuParDefaut, std::string& resultat) {
    initialiserGMime();
    Objet<GMimeStream> flux(g_mime_stream_mem_new_with_buffer(texte.data(), texte.size()));
    Objet<GMimeParser> analyseur(g_mime_parser_new_with_stream(flux.get()));
    Objet<GMimeMessage> message(g_mime_parser_construct_message(analyseur.get(), nullptr));
    if (!message) return false;
    GMimePart* partie = partieAMontrer(g_mime_message_get_mime_part(message.get()), 0);
    if (!partie) return true;
    const char* jeu = g_mime_object_get_content_type_parameter(GMIME_OBJECT(partie), "charset");
    resultat = versWindows1252(contenuDecode(partie), jeu && *jeu ? std::string_view(jeu) : jeuParDefaut);
    return true;
}

} // namespace

std::vector<std::string> DecoderCorps(std::string_view brut, std::string_view jeuParDefaut) {
    const std::string texte = finsDeLigneLf(brut);
    std::string corps;
    if (!decoderMime(texte, jeuParDefaut, corps)) corps = corpsBrut(texte);
    return decouper(corps);
}

std::vector<std::string> LignesVisionneuse(const std::vector<std::string>& lignes) {
    std::vector<std::string> affichees;
    for (const std::string& ligne : lignes) {
        if (ligne.empty() || ligne == "\r\n") continue;
        std::string gardee = ligne;
        if (const std::size_t crlf = gardee.find("\r\n"); crlf != std::string::npos) gardee.erase(crlf, 2);
        affichees.push_back(std::move(gardee));
    }
    return affichees;
}

// Correspondance des motifs de filtre : modes exact, partiel, mots entiers et mots multiples,
// jokers fixes et jokers perso.
#include "donnees/FichierIni.h"
#include "donnees/JokersPerso.h"
#include "CorrespondanceALaLettre.h"
#include "moteur/filtrage/Correspondance.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

struct Cas {
    std::string motif;
    std::string texte;
    bool attendu;
};

void verifierTable(const ContexteCorrespondance& ctx, const std::vector<Cas>& table,
                   bool (*fonction)(const ContexteCorrespondance&, std::string_view, std::string_view)) {
    for (const Cas& cas : table)
        EXPECT_EQ(fonction(ctx, cas.motif, cas.texte), cas.attendu)
            << "motif \"" << cas.motif << "\" texte \"" << cas.texte << "\"";
}

// Octets Windows-1252 des marques et des jokers ; les littéraux sont coupés après chaque
// "\x.." pour qu'une lettre qui suit ne soit pas lue comme un chiffre hexadécimal.
#define MU "\xB5"
#define PARTIEL "\xB6"
#define MOTS "\xA7"

TEST(Correspondance, ModeExactEtJokersFixes) {
    const ContexteCorrespondance ctx;
    verifierTable(ctx,
                  {
                      {"abc", "abc", true},
                      {"abc", "ABC", true},  // les deux côtés passent en minuscules
                      {"ABC", "abc", true},
                      {"abc", "abcd", false},
                      {"abcd", "abc", false},
                      // Une étoile vaut un caractère ou plus, jamais aucun.
                      {"abc*", "abc", false},
                      {"abc*", "abcd", true},
                      {"*abc", "abc", false},
                      {"*abc", "xabc", true},
                      {"*abc", "xxabc", true},
                      {"a*c", "ac", false},
                      {"a*c", "abc", true},
                      {"a*c", "abbbc", true},
                      {"a*c", "abcx", false},
                      {"a*b*", "axb", false},
                      {"a*b*", "axby", true},
                      {"*a*", "a", false},
                      {"*a*", "xa", false},
                      {"*a*", "xay", true},
                      {"*", "x", true},
                      {"*@exemple.fr", "jean@exemple.fr", true},
                      {"*@exemple.fr", "@exemple.fr", false},
                      {"*b", "abab", true},  // le dernier segment doit finir avec le texte
                      {"*ab", "xaab", true},
                      {"*ab", "xa", false},
                      // Une étoile suivie d'une étoile : la seconde est cherchée comme caractère.
                      {"a**b", "ax*b", true},
                      {"a**b", "axyb", false},
                      // "?" vaut un caractère quelconque, et un seul.
                      {"a?c", "abc", true},
                      {"a?c", "a?c", true},
                      {"a?c", "ac", false},
                      {"a?c", "abbc", false},
                      // "#" vaut un chiffre et rien d'autre.
                      {"a#c", "a0c", true},
                      {"a#c", "a9c", true},
                      {"a#c", "abc", false},
                      {"a#c", "a#c", false},
                      {"a#c", "a12c", false},
                      {"*#", "ab7", true},
                      // "µ" vaut une consonne de la liste, après minuscules.
                      {MU, "b", true},
                      {MU, "B", true},
                      {MU, "a", false},
                      {MU, MU, false},
                      {"x" MU "z", "xyz", false},  // y n'est pas dans la liste par défaut
                      // Minuscules Windows-1252 : lettres accentuées, Œ, Š, Ÿ.
                      {"\xE9t\xE9", "\xC9T\xC9", true},
                      {"\xC9", "\xE9", true},
                      {"\x9C", "\x8C", true},
                      {"\x9A", "\x8A", true},
                      {"\xFF", "\x9F", true},
                      {"\xF7", "\xD7", false},  // × n'a pas de minuscule
                      // Un motif "§" passé ici garde sa marque et ne vaut que pour un texte qui la porte.
                      {MOTS "abc", "abc", false},
                      {MOTS "abc", MOTS "abc", true},
                      // Vide d'un côté ou de l'autre.
                      {"", "abc", false},
                      {"abc", "", false},
                      {"", "", false},
                      {"*", "", false},
                  },
                  Correspond);
}

TEST(Correspondance, ModesPartiels) {
    const ContexteCorrespondance ctx;
    verifierTable(ctx,
                  {
                      {PARTIEL "chat", "Le CHAT dort", true},
                      {PARTIEL "chat", "chat", true},
                      {PARTIEL "chat", "un chapeau", false},
                      {PARTIEL "chat", "cha", false},
                      {PARTIEL "CHAT", "les chats", true},
                      {PARTIEL "aab", "aaab", true},  // chaque tentative repart un caractère plus loin
                      {PARTIEL "ab", "xa", false},
                      {PARTIEL "c?t", "un cxt", true},
                      {PARTIEL "#" MU, "n\xB0" "5b", true},
                      {PARTIEL, "x", true},  // marque seule : tout texte non vide
                      {PARTIEL, "", false},
                      // Mots entiers : la première occurrence en début de mot décide seule.
                      {"~cat", "cats before cat", false},
                      {"~cat", "cat", true},
                      {"~cat", "cat here", true},
                      {"~cat", "the cat", true},
                      {"~cat", "the cat.", true},
                      {"~cat", "(cat)", true},
                      {"~cat", "concat cat", true},  // "concat" ne commence pas en début de mot
                      {"~cat", "cat5", false},
                      {"~cat", "5cat", false},
                      {"~cat", "CAT!", true},
                      {"~cat", "\xE9" "cat cat", true},  // é est un caractère de mot
                      {"~cat", "cat\xE0 cat", false},
                      {"~\xE9t\xE9", "l'\xE9t\xE9.", true},
                      // Les caractères de mot se comparent sans minuscules : À ni X n'en sont.
                      {"~cat", "cat\xC0", true},
                      {"~cat", "Xcat", true},
                      {"~", "abc", true},
                  },
                  Correspond);
}

TEST(Correspondance, MotsMultiples) {
    const ContexteCorrespondance ctx;
    verifierTable(ctx,
                  {
                      {MOTS "chat chien", "Un CHIEN et un chat", true},
                      {MOTS "chat chien", "chat et chien", true},
                      {MOTS "chat chien", "chat seul", false},
                      {MOTS "chat chien", "", false},
                      {MOTS "chat chien", "chatchien", true},  // des mots cherchés n'importe où
                      {MOTS "chat", "chat", false},                // un seul mot
                      {MOTS "chat  chien", "chat  chien", false},  // deux espaces : un mot vide
                      {MOTS "chat c", "chat c", false},            // un dernier mot d'un caractère ne compte pas
                      {MOTS "a bc", "bca", true},
                      {MOTS "a b", "a b", false},
                      {MOTS "ab cd ", "cd ab", true},  // l'espace finale ne donne aucun mot
                      {MOTS "ab cd ef", "ab ef", false},
                      {MOTS "c?t chat", "cat chat", false},  // pas de jokers dans les mots
                      {MOTS "c?t chat", "c?t chat", true},
                      {MOTS "Chat chien", "chat chien", false},  // les mots ne sont pas mis en minuscules
                      {MOTS "\xE9t\xE9 hiver", "\xC9T\xC9 ET HIVER", true},
                      {MOTS, "abc", false},
                      {"", "abc", false},
                  },
                  CorrespondMotsMultiples);
}

TEST(Correspondance, MotsDuMotif) {
    const struct {
        std::string motif;
        std::vector<std::string_view> mots;
    } table[] = {
        {MOTS "ab cd", {"ab", "cd"}},
        {MOTS "a  b cd", {"a", "", "b", "cd"}},
        {MOTS "ab c", {"ab"}},
        {MOTS "ab ", {"ab"}},
        {MOTS "x", {}},
        {MOTS "xy", {"xy"}},
        {MOTS, {}},
        {"", {}},
    };
    std::vector<std::string_view> mots{"reste d'avant"};
    for (const auto& cas : table) {
        MotsDuMotif(cas.motif, mots);
        EXPECT_EQ(mots, cas.mots) << "motif \"" << cas.motif << "\"";
    }
}

TEST(Correspondance, ListesChangeesPrisesEnCompteApresReconstruction) {
    ContexteCorrespondance ctx;
    ctx.ListeConsonnes = "a";
    ctx.ListeAlphaNum = "abc";
    ctx.ReconstruireTables();
    verifierTable(ctx,
                  {
                      {MU, "a", true},
                      {MU, "b", false},
                      {"~cat", "xcat", true},  // x n'est plus un caractère de mot
                      {"~cat", "ccat", false},
                      {"~cat", "cat\xE9", true},
                  },
                  Correspond);
}

// Jokers perso enregistrés dans un fichier de paramètres temporaire.
class CorrespondanceJokers : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dossier_.isValid());
        ajouter("voyelles", '\xA2', "aeiouy");
        ajouter("diese", '#', "ab");          // "#" reste le joker des chiffres
        ajouter("micro", '\xB5', "a");        // "µ" reste le joker des consonnes
        ajouter("premier", '\xA5', "a");      // deux jokers sur le même caractère :
        ajouter("second", '\xA5', "b");       // le premier l'emporte
        ajouter("soi", '\xA4', "\xA4" "x");  // un joker qui se contient lui-même
        ctx_.Jokers = &jokers_;
        ctx_.ReconstruireTables();
    }

    void ajouter(const std::string& libelle, char joker, const std::string& caracteres) {
        ASSERT_TRUE(jokers_.Ajouter(ini_, libelle, joker, caracteres));
    }

    QTemporaryDir dossier_;
    FichierIni ini_{dossier_.filePath(QStringLiteral("Tessaron.ini"))};
    JokersPerso jokers_;
    ContexteCorrespondance ctx_;
};

TEST_F(CorrespondanceJokers, ChaqueJokerVautSesCaracteres) {
    verifierTable(ctx_,
                  {
                      {"c\xA2t", "cat", true},
                      {"c\xA2t", "cyt", true},
                      {"c\xA2t", "cAt", true},  // le texte passe en minuscules
                      {"c\xA2t", "cbt", false},
                      {"c\xA2t", "c\xA2t", false},  // un joker ne vaut pas lui-même
                      {"\xA4", "\xA4", true},         // sauf s'il est dans ses caractères
                      {"\xA4", "x", true},
                      {"\xA4", "y", false},
                      {"#", "5", true},
                      {"#", "a", false},
                      {MU, "b", true},
                      {MU, "a", false},
                      {"\xA5", "a", true},
                      {"\xA5", "b", false},
                      {PARTIEL "c\xA2t", "le cot", true},
                      {"~c\xA2t", "cuts cot", false},
                      {"*\xA2", "xxu", true},
                  },
                  Correspond);
}

TEST_F(CorrespondanceJokers, ChangementsAppliquesApresReconstruction) {
    ASSERT_TRUE(jokers_.ChangerCaracteres(ini_, 0, "z"));
    ctx_.ReconstruireTables();
    EXPECT_TRUE(Correspond(ctx_, "c\xA2t", "czt"));
    EXPECT_FALSE(Correspond(ctx_, "c\xA2t", "cat"));

    ASSERT_TRUE(jokers_.Retirer(ini_, 3));  // le premier "¥" parti, le second vaut
    ctx_.ReconstruireTables();
    EXPECT_TRUE(Correspond(ctx_, "\xA5", "b"));
    EXPECT_FALSE(Correspond(ctx_, "\xA5", "a"));

    ctx_.Jokers = nullptr;  // sans jokers perso, le caractère ne vaut que lui-même
    ctx_.ReconstruireTables();
    EXPECT_TRUE(Correspond(ctx_, "c\xA2t", "c\xA2t"));
    EXPECT_FALSE(Correspond(ctx_, "c\xA2t", "czt"));
}

bool correspondJokerALaLettre(const ContexteCorrespondance& ctx, std::string_view P, std::string_view T) {
    return CorrespondJokerALaLettre(P, T, [&ctx](char p, char c) { return CaractereCorrespond(ctx, p, c); });
}

// Tous les textes de longueur 1 à `longueurMax` sur un alphabet, passés à `action`.
void pourChaqueTexte(const std::string& alphabet, std::size_t longueurMax,
                     const std::function<void(const std::string&)>& action) {
    std::vector<std::string> courants{""};
    for (std::size_t longueur = 1; longueur <= longueurMax; ++longueur) {
        std::vector<std::string> suivants;
        for (const std::string& debut : courants)
            for (char c : alphabet) suivants.push_back(debut + c);
        for (const std::string& texte : suivants) action(texte);
        courants = std::move(suivants);
    }
}

TEST(Correspondance, ModeExactIdentiqueAuPasAPasSurPetitsAlphabets) {
    const ContexteCorrespondance ctx;
    pourChaqueTexte("ab*?", 5, [&](const std::string& motif) {
        pourChaqueTexte("ab", 7, [&](const std::string& texte) {
            ASSERT_EQ(CorrespondJoker(ctx, motif, texte), correspondJokerALaLettre(ctx, motif, texte))
                << "motif \"" << motif << "\" texte \"" << texte << "\"";
        });
    });
}

// Recherche partielle dite autrement : une occurrence quelconque pour "¶" ; pour "~", la
// première occurrence en début de mot, qui doit aussi finir en fin de mot.
bool partielDitAutrement(const ContexteCorrespondance& ctx, std::string_view motif, std::string_view texte) {
    const std::string_view cherche = motif.substr(1);
    const bool motsEntiers = motif[0] == '~';
    for (std::size_t debut = 0; debut + cherche.size() <= texte.size(); ++debut) {
        if (motsEntiers && debut > 0 && EstCaractereMot(ctx, texte[debut - 1])) continue;
        std::size_t k = 0;
        while (k < cherche.size() && CaractereCorrespond(ctx, cherche[k], texte[debut + k])) ++k;
        if (k < cherche.size()) continue;
        const std::size_t fin = debut + k;
        return !(motsEntiers && fin < texte.size() && EstCaractereMot(ctx, texte[fin]));
    }
    return false;
}

TEST(Correspondance, ModesPartielsIdentiquesALaRechercheDiteAutrement) {
    const ContexteCorrespondance ctx;
    pourChaqueTexte("ab? ", 4, [&](const std::string& cherche) {
        for (const std::string marque : {PARTIEL, "~"}) {
            const std::string motif = marque + cherche;
            pourChaqueTexte("ab ", 6, [&](const std::string& texte) {
                ASSERT_EQ(Correspond(ctx, motif, texte), partielDitAutrement(ctx, motif, texte))
                    << "motif \"" << motif << "\" texte \"" << texte << "\"";
            });
        }
    });
}

TEST(Correspondance, CoutLineaireDansLaLongueurDuTexte) {
    const ContexteCorrespondance ctx;
    const std::string queDesA(100 * 1024, 'a');
    // Un seul "a", loin, suivi d'un caractère qui fait échouer le segment.
    const std::string aLointain = std::string(100 * 1024, 'x') + "ac";
    std::string etoiles;
    for (int i = 0; i < 50; ++i) etoiles += "*a";
    const struct {
        std::string motif;
        const std::string& texte;
        bool attendu;
    } table[] = {
        {etoiles + "*b", queDesA, false},
        {"*b", queDesA, false},
        {"*ab", queDesA, false},
        {"*aaaaaaaaab*", queDesA, false},
        {"a*a", queDesA, true},
        {"*a?*?", queDesA, true},
        {"*ab", aLointain, false},
        {"*ab*", aLointain, false},
        {PARTIEL + std::string(30, 'a') + "b", queDesA, false},
        {"~aaab", queDesA, false},
        {MOTS "aaaaab aaaaac", queDesA, false},
    };
    // Linéaire : quelques millisecondes ; quadratique : des minutes, que le délai de ctest arrête.
    // La mesure du coût elle-même est faite par bench/bench_classement.
    for (const auto& cas : table) {
        const bool obtenu = cas.motif[0] == '\xA7' ? CorrespondMotsMultiples(ctx, cas.motif, cas.texte)
                                                    : Correspond(ctx, cas.motif, cas.texte);
        EXPECT_EQ(obtenu, cas.attendu) << cas.motif;
    }
}

} // namespace

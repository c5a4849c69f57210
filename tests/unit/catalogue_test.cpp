// The catalogue: reading .po text, showing texts and composed texts in a language, choosing
// the language, and every built-in catalogue against the template.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "app/main_layout.h"
#include "base/catalogue.h"
#include "base/language.h"
#include "forms/form.h"
#include "launcher/launcher_layout.h"

namespace qm {
const char* builtInTemplate();

namespace {

struct PoCase {
    const char* name;
    const char* text;
    std::vector<std::pair<std::string, std::string>> entries;
    std::vector<int> problemLines;
};

TEST(PoFile, ReadsEntriesAndNamesTheLinesOfFaults) {
    const PoCase cases[] = {
        {"header left out, multi-line strings joined",
         "msgid \"\"\nmsgstr \"Language: de\\n\"\n\nmsgid \"Hide\"\nmsgstr \"Aus\"\n\"blenden\"\n", {{"Hide", "Ausblenden"}}, {}},
        {"escapes", "msgid \"a\\n\\\"b\\\"\"\nmsgstr \"x\\ty\"\n", {{"a\n\"b\"", "x\ty"}}, {}},
        {"fuzzy and untranslated kept apart", "#, fuzzy\nmsgid \"A\"\nmsgstr \"B\"\n\nmsgid \"C\"\nmsgstr \"\"\n",
         {{"A", "B (fuzzy)"}, {"C", ""}}, {}},
        {"CRLF line ends", "msgid \"A\"\r\nmsgstr \"B\"\r\n", {{"A", "B"}}, {}},
        {"unterminated string", "msgid \"A\nmsgstr \"B\"\n", {{"", "B"}}, {1}},
        {"bad escape and stray keyword", "msgid \"A\\q\"\nmsgstr \"B\"\nmsgfoo \"x\"\n", {{"", "B"}}, {1, 3}},
        {"msgstr without msgid", "msgstr \"B\"\n", {}, {1}},
    };
    for (const PoCase& c : cases) {
        const PoFile file = parsePo(c.text);
        std::vector<std::pair<std::string, std::string>> got;
        for (const PoEntry& e : file.entries) got.emplace_back(e.id, e.fuzzy ? e.text + " (fuzzy)" : e.text);
        std::vector<int> lines;
        for (const PoProblem& p : file.problems) lines.push_back(p.line);
        EXPECT_EQ(lines, c.problemLines) << c.name;
        if (c.problemLines.empty()) {
            EXPECT_EQ(got, c.entries) << c.name;
        }
    }
}

Catalogue german() {
    return Catalogue(parsePo("msgid \"Hours\"\nmsgstr \"Stunden\"\n"
                             "msgid \"Free Up %1 Now\"\nmsgstr \"%1 jetzt freigeben\"\n"
                             "msgid \"%1 rose from %2 to %3 MB\"\nmsgstr \"%1 stieg von %2 auf %3 MB\"\n"
                             "msgid \"From %1 to %2\"\nmsgstr \"Bis %2 ab %1\"\n"
                             "msgid \"%1\"\nmsgstr \"alles\"\n"
                             "msgid \"Pause\"\nmsgstr \"\"\n")
                         .entries);
}

TEST(Catalogue, ShowsTextsAndComposedTextsInTheLanguage) {
    const Catalogue de = german();
    const std::pair<const char*, const char*> cases[] = {
        {"Hours", "Stunden"},
        {"Free Up 64 MB Now", "64 MB jetzt freigeben"},
        {"Free Up Hours Now", "Stunden jetzt freigeben"},  // a placeholder's value is shown too
        {"free rose from 10 to 20 MB", "free stieg von 10 auf 20 MB"},
        {"From 1 to 2", "Bis 2 ab 1"},                     // placeholders may change places
        {"Free Up  Now", "Free Up  Now"},                  // an empty value is no match
        {"Pause", "Pause"},                                // untranslated
        {"{\"physical_total_mb\":1}", "{\"physical_total_mb\":1}"},  // a bare %1 matches nothing
        {"", ""},
    };
    for (const auto& [english, expected] : cases) EXPECT_EQ(de.shown(english), expected) << english;
    EXPECT_EQ(Catalogue().shown("Free Up 64 MB Now"), "Free Up 64 MB Now");
    EXPECT_EQ(formatText("%2-%1-%3%", {"a", "b"}), "b-a-%3%");
}

TEST(Language, TheUsersLanguagesFindTheClosestCatalogue) {
    const std::vector<std::string> available{"de", "es", "fr", "it", "pt_BR"};
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"de_DE.UTF-8"}, "de"},   {{"fr_CA@euro"}, "fr"},       {{"pt_BR"}, "pt_BR"},
        {{"pt_PT.UTF-8"}, "pt_BR"}, {{"pt"}, "pt_BR"},           {{"nl_NL", "it_IT"}, "it"},
        {{"C"}, ""},               {{"en_GB.UTF-8", "de"}, ""},  {{"POSIX", "de"}, ""},
        {{"ja_JP"}, ""},           {{}, ""},
    };
    for (const auto& [wanted, expected] : cases) EXPECT_EQ(matchLanguage(wanted, available), expected) << wanted.size();

    const std::map<std::string, std::string> env{{"LANGUAGE", "fr:de"}, {"LC_MESSAGES", "it_IT"}, {"LANG", "es_ES"}};
    auto lookup = [&](const char* name) { auto it = env.find(name); return it == env.end() ? std::string() : it->second; };
    EXPECT_EQ(languagesOfEnvironment(lookup), (std::vector<std::string>{"fr", "de", "it_IT"}));
}

// The texts of every catalogue: the template's, each translated, placeholders and
// accelerators kept.
std::set<std::string> placeholders(const std::string& text) {
    std::set<std::string> found;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '%' && text[i + 1] >= '1' && text[i + 1] <= '9') found.insert(text.substr(i, 2));
    }
    return found;
}

int accelerators(const std::string& text) {
    int n = 0;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '&' && text[i + 1] == '&') ++i;
        else if (text[i] == '&') ++n;
    }
    return n;
}

TEST(BuiltInCatalogues, TranslateEveryTextOfTheTemplateAndKeepPlaceholdersAndAccelerators) {
    std::set<std::string> wanted;
    for (const PoEntry& e : parsePo(builtInTemplate()).entries) wanted.insert(e.id);
    ASSERT_GT(wanted.size(), 100u);
    ASSERT_GE(builtInLanguages().size(), 5u);
    for (const BuiltInLanguage& language : builtInLanguages()) {
        const PoFile file = parsePo(language.catalogue);
        EXPECT_TRUE(file.problems.empty()) << language.code << " line " << file.problems.front().line;
        std::set<std::string> ids;
        for (const PoEntry& e : file.entries) {
            ids.insert(e.id);
            EXPECT_FALSE(e.text.empty() || e.fuzzy) << language.code << ": " << e.id;
            EXPECT_EQ(placeholders(e.text), placeholders(e.id)) << language.code << ": " << e.text;
            EXPECT_EQ(accelerators(e.text), accelerators(e.id)) << language.code << ": " << e.text;
        }
        EXPECT_EQ(ids, wanted) << language.code;
    }
}

// The access key of a shown caption, lower case; 0 when it has none.
char accessKey(const std::string& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] == '&' && caption[i + 1] == '&') ++i;
        else if (caption[i] == '&') return static_cast<char>(std::tolower(static_cast<unsigned char>(caption[i + 1])));
    }
    return 0;
}

// Keys that share one menu, or the menu bar and the window's buttons, must differ.
void expectDistinctKeys(const Form& form, const std::string& language) {
    std::map<const Control*, std::map<char, std::string>> taken;
    for (const Control* c : form.controls()) {
        const bool inWindow = c->kind() == ControlKind::CommandButton || (c->kind() == ControlKind::Menu && !c->parent());
        if (c->kind() != ControlKind::Menu && !inWindow) continue;
        const char key = accessKey(c->shownCaption());
        if (key == 0 || c->name() == "cmdPause") continue;  // its second caption is checked below
        auto [it, fresh] = taken[inWindow ? nullptr : c->parent()].emplace(key, c->shownCaption());
        EXPECT_TRUE(fresh) << language << ": " << c->shownCaption() << " and " << it->second << " share '" << key << "'";
    }
    if (form.name() != "frmMain") return;
    for (const char* pause : {N_("&Pause All Activity"), N_("&Resume Activity")}) {
        const auto& window = taken[nullptr];
        auto it = window.find(accessKey(shown(pause)));
        EXPECT_TRUE(it == window.end()) << language << ": " << shown(pause) << " and " << it->second;
    }
}

TEST(BuiltInCatalogues, GiveEachItemOfAMenuOrWindowItsOwnAccessKey) {
    Form frmMain("frmMain"), frmLauncher("frmLauncher");
    declareMainLayout(frmMain);
    declareLauncherLayout(frmLauncher);
    for (const BuiltInLanguage& language : builtInLanguages()) {
        useCatalogue(Catalogue(parsePo(language.catalogue).entries));
        expectDistinctKeys(frmMain, language.code);
        expectDistinctKeys(frmLauncher, language.code);
    }
    useCatalogue(Catalogue());
}

}  // namespace
}  // namespace qm

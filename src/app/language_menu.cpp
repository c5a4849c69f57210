#include "app/language_menu.h"

#include "base/catalogue.h"
#include "base/language.h"
#include "settings/option_table.h"

namespace qm {

namespace {

using mainForm::mnuViewLanguage;

// "" is the system's language, "en" English, else a built-in language's code.
constexpr OptionRow kLanguageOption =
    storedOption(mnuViewLanguage, "View", "Language", "", LoadRule::ByHandler, StoreRule::ByHandler);

constexpr int kSystemItem = 0;
constexpr int kEnglishItem = 1;
constexpr int kFirstBuiltInItem = 2;

std::string codeOfItem(int index) {
    if (index == kSystemItem) return "";
    if (index == kEnglishItem) return "en";
    return builtInLanguages()[static_cast<size_t>(index - kFirstBuiltInItem)].code;
}

int itemOfCode(const std::string& code) {
    if (code == "en") return kEnglishItem;
    const auto& languages = builtInLanguages();
    for (size_t i = 0; i < languages.size(); ++i) {
        if (code == languages[i].code) return static_cast<int>(i) + kFirstBuiltInItem;
    }
    return kSystemItem;  // nothing stored, or a language this build does not have
}

int itemCount() { return static_cast<int>(builtInLanguages().size()) + kFirstBuiltInItem; }

}  // namespace

LanguageMenu::LanguageMenu(SubsystemContext& ctx, SettingsFile& settings) : ctx_(ctx), settings_(settings) {
    for (int i = 0; i < itemCount(); ++i) {
        Menu& item = ctx.frmMain.element(mnuViewLanguage, i);
        item.onClick = [this, i] { mnuViewLanguage_Click(i); };
        if (i < kFirstBuiltInItem) continue;
        // A language the program's text encoding cannot write is not offered.
        const std::optional<std::string> name = ctx.platform.locale.fromUtf8(builtInLanguages()[i - kFirstBuiltInItem].name);
        item.setCaption(name.value_or(""));
        item.setVisible(name.has_value());
    }
}

void LanguageMenu::check(int index) {
    for (int i = 0; i < itemCount(); ++i) ctx_.frmMain.element(mnuViewLanguage, i).setChecked(i == index);
}

void LanguageMenu::loadLanguage() {
    auto t = ctx_.trap(",loadLanguage");
    std::string stored;
    t([&] { stored = settings_.getData(kLanguageOption.section, kLanguageOption.key, kLanguageOption.missing); });
    check(itemOfCode(stored));
}

void LanguageMenu::mnuViewLanguage_Click(int index) {
    auto t = ctx_.trap(",mnuViewLanguage_Click");
    if (ctx_.frmMain.element(mnuViewLanguage, index).checked()) return;
    check(index);
    t([&] { settings_.writeKey(kLanguageOption.section, kLanguageOption.key, codeOfItem(index)); });
    t([&] { ctx_.message(N_("The new language shows the next time Quillmere starts."), vbOKOnly | vbInformation); });
}

std::string chooseProgramLanguage(ProgramFolderPort& folder, ProfilePort& profile, LocalePort& locale) {
    std::string stored;
    ignoreErrors([&] {
        const std::string path = folder.folder() + folder.separator() + "settings.ini";
        stored = profile.getString(kLanguageOption.section, kLanguageOption.key, kLanguageOption.missing, 255, path);
    });
    return installLanguage(stored, locale.userLanguages(), [&](const std::string& text) { return locale.fromUtf8(text); });
}

}  // namespace qm

#pragma once
// View > Language: the system's language (the default), English, or one of the built-in
// languages, stored in settings.ini and applied at the next start, since every window,
// menu and list is laid out for its texts when it is made.
#include <string>

#include "context/subsystem_context.h"
#include "settings/settings_file.h"

namespace qm {

class LanguageMenu {
public:
    LanguageMenu(SubsystemContext& ctx, SettingsFile& settings);

    // Checks the stored choice.
    void loadLanguage();
    void mnuViewLanguage_Click(int index);

private:
    void check(int index);

    SubsystemContext& ctx_;
    SettingsFile& settings_;
};

// Chooses and installs the shown language before anything is shown: the stored choice,
// else the user's own languages. Returns its code, "" for English.
std::string chooseProgramLanguage(ProgramFolderPort& folder, ProfilePort& profile, LocalePort& locale);

}  // namespace qm

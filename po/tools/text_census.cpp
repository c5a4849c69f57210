// Prints, as a gettext template, every text the program's forms declare: captions, tooltips
// and list entries of the main window, the launcher editor and the update window. The texts
// composed at run time are marked in the sources and extracted by xgettext beside this.
#include <iostream>
#include <set>
#include <string>

#include "app/main_layout.h"
#include "forms/form.h"
#include "launcher/launcher_layout.h"
#include "update/auto_update_layout.h"

namespace {

bool worthTranslating(const std::string& text) {
    for (char c : text) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return text != "-";
    }
    return false;  // numbers, amounts and blanks read the same in every language
}

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        if (c == '\n') { out += "\\n"; continue; }
        out += c;
    }
    return out + "\"";
}

void collect(const qm::Form& form, std::set<std::string>& texts) {
    texts.insert(form.caption());
    for (const qm::Control* c : form.controls()) {
        texts.insert(c->caption());
        texts.insert(c->toolTip());
        texts.insert(c->description());
        if (const auto* list = dynamic_cast<const qm::ListControl*>(c)) texts.insert(list->items().begin(), list->items().end());
        if (const auto* tabs = dynamic_cast<const qm::TabStrip*>(c)) texts.insert(tabs->tabs().begin(), tabs->tabs().end());
    }
}

}  // namespace

int main() {
    qm::Form frmMain("frmMain"), frmLauncher("frmLauncher"), frmAutoUpdate("frmAutoUpdate");
    qm::declareMainLayout(frmMain);
    qm::declareLauncherLayout(frmLauncher);
    qm::declareAutoUpdateLayout(frmAutoUpdate);
    std::set<std::string> texts;
    for (const qm::Form* f : {&frmMain, &frmLauncher, &frmAutoUpdate}) collect(*f, texts);
    for (const std::string& t : texts) {
        if (worthTranslating(t)) std::cout << "msgid " << quoted(t) << "\nmsgstr \"\"\n\n";
    }
}

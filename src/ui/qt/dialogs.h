#pragma once
// The classic message box and file-open dialog on Qt.
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <vector>

namespace qm::qt {

// The buttons of a style's low three bits (0 OK ... 5 Retry/Cancel) and its icon (16, 32, 48, 64).
QMessageBox::StandardButtons messageButtons(int style);
QMessageBox::Icon messageIcon(int style);
// The default button: the first, second or third of the set (style bits 0, 256, 512).
QMessageBox::StandardButton defaultButton(int style);
// The classic answer number for the button chosen (1 OK, 2 Cancel, ... 6 Yes, 7 No).
int classicAnswer(QMessageBox::StandardButton button);

int runMessageBox(QWidget* owner, const std::string& prompt, int style, const std::string& title);

// One entry of a classic filter "Label|patterns|Label|patterns". A Windows program
// pattern (*.exe, *.com, *.bat) stands for the executable files of Linux, which carry no
// extension: such an entry shows every file and accepts only those one may run.
struct FileFilter {
    QString label;
    QStringList patterns;
    bool executables = false;
};
std::vector<FileFilter> parseFileFilter(const std::string& filter);

// Beside programs the desktop's application entries may be chosen: a filter for them,
// and the folders that hold them ($XDG_DATA_HOME and $XDG_DATA_DIRS, "applications").
FileFilter applicationsFilter();
QStringList applicationFolders();

// True when the file passes the filter (executables: an ordinary file with the execute bit).
bool acceptsFile(const FileFilter& filter, const QString& path);

// The open dialog; nullopt when the user cancelled.
std::optional<std::string> runOpenDialog(QWidget* owner, const std::string& filter, int flags);

}  // namespace qm::qt

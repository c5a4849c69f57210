#include "ui/qt/dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

#include "base/catalogue.h"
#include "forms/host.h"
#include "ui/qt/application_names.h"

namespace qm::qt {

namespace {

using SB = QMessageBox;

const std::vector<QMessageBox::StandardButton>& buttonList(int style) {
    static const std::vector<std::vector<QMessageBox::StandardButton>> kSets = {
        {SB::Ok}, {SB::Ok, SB::Cancel}, {SB::Abort, SB::Retry, SB::Ignore},
        {SB::Yes, SB::No, SB::Cancel}, {SB::Yes, SB::No}, {SB::Retry, SB::Cancel}};
    const int set = style & 7;
    return kSets[static_cast<size_t>(set < 6 ? set : 0)];
}

bool isWindowsProgramPattern(const QString& pattern) {
    static const QRegularExpression kProgram("^\\*\\.(exe|com|bat)$", QRegularExpression::CaseInsensitiveOption);
    return kProgram.match(pattern.trimmed()).hasMatch();
}

}  // namespace

QMessageBox::StandardButtons messageButtons(int style) {
    QMessageBox::StandardButtons buttons;
    for (QMessageBox::StandardButton b : buttonList(style)) buttons |= b;
    return buttons;
}

QMessageBox::Icon messageIcon(int style) {
    switch (style & 0x70) {
        case vbCritical: return QMessageBox::Critical;
        case vbQuestion: return QMessageBox::Question;
        case vbExclamation: return QMessageBox::Warning;
        case vbInformation: return QMessageBox::Information;
        default: return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButton defaultButton(int style) {
    const auto& list = buttonList(style);
    const size_t which = static_cast<size_t>((style >> 8) & 3);
    return list[which < list.size() ? which : 0];
}

int classicAnswer(QMessageBox::StandardButton button) {
    switch (button) {
        case SB::Ok: return vbOK;
        case SB::Cancel: return vbCancel;
        case SB::Abort: return 3;
        case SB::Retry: return 4;
        case SB::Ignore: return 5;
        case SB::Yes: return vbYes;
        case SB::No: return vbNo;
        default: return vbCancel;
    }
}

int runMessageBox(QWidget* owner, const std::string& prompt, int style, const std::string& title) {
    QMessageBox box(messageIcon(style), QString::fromStdString(qm::shown(title)), QString::fromStdString(qm::shown(prompt)),
                    messageButtons(style), owner);
    box.setDefaultButton(defaultButton(style));
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    // Closing the box with its close button counts as the escape button (Cancel or OK).
    const auto clicked = box.standardButton(box.clickedButton());
    return clicked == SB::NoButton ? classicAnswer(messageButtons(style) & SB::Cancel ? SB::Cancel : SB::Ok)
                                   : classicAnswer(clicked);
}

std::vector<FileFilter> parseFileFilter(const std::string& filter) {
    const QStringList parts = QString::fromStdString(shown(filter)).split('|');
    std::vector<FileFilter> filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        FileFilter entry{parts[i], parts[i + 1].split(';', Qt::SkipEmptyParts), false};
        for (QString& p : entry.patterns) p = p.trimmed();
        entry.executables = !entry.patterns.isEmpty() &&
                            std::all_of(entry.patterns.begin(), entry.patterns.end(), isWindowsProgramPattern);
        if (entry.executables) entry.label = "Programs", entry.patterns = QStringList{"*"};
        filters.push_back(entry);
    }
    return filters;
}

bool acceptsFile(const FileFilter& filter, const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile()) return false;
    if (filter.executables) return info.isExecutable();
    return QDir::match(filter.patterns, info.fileName());
}

FileFilter applicationsFilter() { return {QStringLiteral("Applications"), {QStringLiteral("*.desktop")}, false}; }

QStringList applicationFolders() {
    const QString home = qEnvironmentVariable("XDG_DATA_HOME", QDir::homePath() + "/.local/share");
    const QString dirs = qEnvironmentVariable("XDG_DATA_DIRS", "/usr/local/share:/usr/share");
    QStringList folders;
    for (const QString& base : QStringList{home} + dirs.split(':', Qt::SkipEmptyParts)) {
        const QString folder = QDir(base).filePath("applications");
        if (QFileInfo(folder).isDir() && !folders.contains(folder)) folders << folder;
    }
    return folders;
}

namespace {

// A dialog for programs also offers the application entries, listed by their names; the
// widget dialog is used, since only it shows the names.
void offerApplications(QFileDialog& dialog, std::vector<FileFilter>& filters) {
    const bool programs = std::any_of(filters.begin(), filters.end(), [](const FileFilter& f) { return f.executables; });
    if (!programs) return;
    filters.push_back(applicationsFilter());
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new ApplicationNames(&dialog));
    QList<QUrl> places = dialog.sidebarUrls();
    for (const QString& folder : applicationFolders()) places << QUrl::fromLocalFile(folder);
    dialog.setSidebarUrls(places);
}

}  // namespace

std::optional<std::string> runOpenDialog(QWidget* owner, const std::string& filter, int flags) {
    std::vector<FileFilter> filters = parseFileFilter(filter);
    QFileDialog dialog(owner, QStringLiteral("Open"));
    offerApplications(dialog, filters);
    QStringList names;
    for (const FileFilter& f : filters) names << QStringLiteral("%1 (%2)").arg(f.label, f.patterns.join(' '));
    dialog.setFileMode((flags & cdlOFNFileMustExist) ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (!names.isEmpty()) dialog.setNameFilters(names);
    for (;;) {
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
        const QString chosen = dialog.selectedFiles().front();
        const qsizetype which = names.indexOf(dialog.selectedNameFilter());
        const bool checked = which >= 0 && filters[static_cast<size_t>(which)].executables;
        if (!checked || acceptsFile(filters[static_cast<size_t>(which)], chosen)) return chosen.toStdString();
        QMessageBox::warning(&dialog, dialog.windowTitle(),
                             QString::fromStdString(shown(N_("%1\nis not a program that can be started."))).arg(chosen));
    }
}

}  // namespace qm::qt

#include "platform/help_viewer.h"

#include <QDir>
#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>

namespace {

constexpr int kHelpWidth = 720;
constexpr int kHelpHeight = 600;

} // namespace

HelpViewer::~HelpViewer()
{
    close_all();
}

bool HelpViewer::show_contents(const QString &file)
{
    const QFileInfo info(file);
    if (file.isEmpty() || !info.isFile() || !info.isReadable())
        return false;
    if (!window_) {
        window_ = new QTextBrowser();
        window_->setObjectName(QStringLiteral("help_window"));
        window_->setAttribute(Qt::WA_DeleteOnClose);
        window_->setOpenExternalLinks(true);
        window_->resize(kHelpWidth, kHelpHeight);
    }
    window_->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    window_->setWindowTitle(window_->documentTitle());
    window_->show();
    window_->raise();
    window_->activateWindow();
    return true;
}

void HelpViewer::close_all()
{
    if (window_) {
        // Deleted at once: the program may be on its way out of the event loop.
        delete window_.data();
    }
}

QString help_file_path(const QString &program_folder)
{
    const QDir folder(program_folder);
    const QString beside = folder.filePath(QStringLiteral("help/index.html"));
    if (QFileInfo::exists(beside))
        return beside;
    const QString installed = folder.filePath(QStringLiteral("../share/yorimo/help/index.html"));
    if (QFileInfo::exists(installed))
        return QDir::cleanPath(installed);
    return beside;
}

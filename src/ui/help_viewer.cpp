#include "ui/help_viewer.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QShortcut>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
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
    if (!frame_)
        build();
    browser_->setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    browser_->clearHistory();
    frame_->setWindowTitle(browser_->documentTitle());
    frame_->show();
    frame_->raise();
    frame_->activateWindow();
    return true;
}

void HelpViewer::build()
{
    frame_ = new QMainWindow();
    frame_->setObjectName(QStringLiteral("help_frame"));
    frame_->setAttribute(Qt::WA_DeleteOnClose);
    frame_->resize(kHelpWidth, kHelpHeight);
    browser_ = new QTextBrowser(frame_);
    browser_->setObjectName(QStringLiteral("help_window"));
    browser_->setOpenExternalLinks(true);
    frame_->setCentralWidget(browser_);

    QToolBar *bar = frame_->addToolBar(QStringLiteral("help"));
    bar->setObjectName(QStringLiteral("help_toolbar"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QStyle *style = frame_->style();
    QAction *back = bar->addAction(style->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("戻る"));
    back->setObjectName(QStringLiteral("help_back"));
    back->setShortcut(QKeySequence::Back);
    QAction *forward = bar->addAction(style->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("進む"));
    forward->setObjectName(QStringLiteral("help_forward"));
    forward->setShortcut(QKeySequence::Forward);
    QAction *home = bar->addAction(style->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("目次"));
    home->setObjectName(QStringLiteral("help_home"));
    back->setEnabled(false);
    forward->setEnabled(false);
    QObject::connect(back, &QAction::triggered, browser_, &QTextBrowser::backward);
    QObject::connect(forward, &QAction::triggered, browser_, &QTextBrowser::forward);
    QObject::connect(home, &QAction::triggered, browser_, &QTextBrowser::home);
    QObject::connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    QObject::connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    QMainWindow *frame = frame_;
    QObject::connect(browser_, &QTextBrowser::sourceChanged, frame,
                     [frame, browser = browser_.data()] { frame->setWindowTitle(browser->documentTitle()); });
    for (const QKeySequence &keys : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        auto *shortcut = new QShortcut(keys, frame);
        QObject::connect(shortcut, &QShortcut::activated, frame, &QWidget::close);
    }
}

void HelpViewer::close_all()
{
    if (frame_) {
        // Deleted at once: the program may be on its way out of the event loop.
        delete frame_.data();
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

// Menus and toolbar, the manual's window and the version box.
#include "main_window/form_about.h"
#include "main_window_fixture.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QMetaEnum>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>

namespace {

QStringList texts_of(const QList<QAction *> &actions)
{
    QStringList list;
    for (const QAction *a : actions)
        if (!a->isSeparator())
            list << a->text();
    return list;
}

} // namespace

TEST_F(MainWindowTest, MenusCarryTheirCaptionsAndShortcuts)
{
    auto *file = window->findChild<QMenu *>(QStringLiteral("menu_file"));
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->title(), QStringLiteral("ファイル(&F)"));
    EXPECT_EQ(texts_of(file->actions()),
              QStringList({QStringLiteral("新規作成(&N)..."), QStringLiteral("開く(&O)..."),
                           QStringLiteral("上書き保存(&S)"), QStringLiteral("名前を付けて保存(&A)..."),
                           QStringLiteral("ＣＳＶ(&C)"), QStringLiteral("印刷(&P)..."),
                           QStringLiteral("印刷プレビュー(&V)..."), QStringLiteral("PDFに書き出し(&D)..."),
                           QStringLiteral("終了(&X)")}));
    EXPECT_EQ(action("menu_new")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    EXPECT_EQ(action("menu_open")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_EQ(action("menu_over")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));
    EXPECT_EQ(action("menu_print")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    EXPECT_EQ(action("menu_csv_write")->text(), QStringLiteral("書き出し(&E)"));
    EXPECT_EQ(action("menu_csv_read")->text(), QStringLiteral("読み込み(&I)"));

    auto *edit = window->findChild<QMenu *>(QStringLiteral("menu_edit"));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(texts_of(edit->actions()),
              QStringList({QStringLiteral("元に戻す(&U)"), QStringLiteral("やり直し(&R)"),
                           QStringLiteral("検索(&F)..."), QStringLiteral("新規登録(&N)"),
                           QStringLiteral("シングル購入(&S)"), QStringLiteral("マルチ購入(&M)"),
                           QStringLiteral("まとめて入力(&Q)..."), QStringLiteral("購入確認・修正(&C)"),
                           QStringLiteral("結果入力(&I)"), QStringLiteral("途中経過(&L)..."),
                           QStringLiteral("ダウンロード(&D)..."), QStringLiteral("結果を一括更新(&B)..."),
                           QStringLiteral("収支統計(&T)...")}));
    EXPECT_EQ(action("menu_undo")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(action("menu_quick")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_B));
    EXPECT_EQ(action("menu_live")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_L));
    EXPECT_EQ(action("menu_redo")->shortcuts(),
              QList<QKeySequence>(
                  {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}));
    EXPECT_FALSE(action("menu_undo")->isEnabled());
    EXPECT_FALSE(action("menu_redo")->isEnabled());
    auto *input = window->findChild<QMenu *>(QStringLiteral("menu_input"));
    ASSERT_NE(input, nullptr);
    QStringList names;
    for (const QAction *a : input->actions())
        names << a->objectName();
    EXPECT_EQ(names,
              QStringList({QStringLiteral("menu_input_toto"), QStringLiteral("menu_input_minitotoA"),
                           QStringLiteral("menu_input_minitotoB"), QStringLiteral("menu_input_toto5"),
                           QStringLiteral("menu_input_totoGOAL"), QStringLiteral("menu_input_totoGOAL3"),
                           QStringLiteral("menu_input_totoGOAL2"), QStringLiteral("menu_input_BIG"),
                           QStringLiteral("menu_input_100BIG"), QStringLiteral("menu_input_BIG1000"),
                           QStringLiteral("menu_input_miniBIG")}));
    EXPECT_EQ(texts_of(input->actions()),
              QStringList({QStringLiteral("toto(&T)"), QStringLiteral("mini toto-A(&A)"),
                           QStringLiteral("mini toto-B(&B)"), QStringLiteral("toto5(&5)"),
                           QStringLiteral("totoGOAL(&G)"), QStringLiteral("totoGOAL3(&3)"),
                           QStringLiteral("totoGOAL2(&2)"), QStringLiteral("BIG(&I)"),
                           QStringLiteral("100円BIG(&1)"), QStringLiteral("BIG1000(&0)"),
                           QStringLiteral("mini BIG(&M)")}));

    auto *help = window->findChild<QMenu *>(QStringLiteral("menu_help"));
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->title(), QStringLiteral("ヘルプ(&H)"));
    EXPECT_EQ(texts_of(help->actions()),
              QStringList({QStringLiteral("トピックの検索(&C)"), QStringLiteral("バージョン情報(&A)")}));
}

// Every item of a menu is reached by its own access key, and the shortcuts clash neither with
// each other nor with the keys the platform gives a standard meaning.
TEST_F(MainWindowTest, EveryMenuItemHasItsOwnAccessKeyAndNoShortcutClashes)
{
    for (const QMenu *menu : window->findChildren<QMenu *>()) {
        if (!menu->objectName().startsWith(QStringLiteral("menu_")) ||
            menu->objectName() == QStringLiteral("menu_row"))
            continue;
        QSet<QString> keys;
        for (const QAction *a : menu->actions()) {
            if (a->isSeparator())
                continue;
            const QString key = QKeySequence::mnemonic(a->text()).toString();
            EXPECT_FALSE(key.isEmpty()) << a->text().toStdString();
            EXPECT_FALSE(keys.contains(key)) << menu->objectName().toStdString() << " " << key.toStdString();
            keys.insert(key);
        }
    }

    const std::vector<std::pair<const char *, QKeySequence>> added = {
        {"menu_single", QKeySequence(Qt::CTRL | Qt::Key_1)},
        {"menu_multi", QKeySequence(Qt::CTRL | Qt::Key_2)},
        {"menu_kakunin", QKeySequence(Qt::CTRL | Qt::Key_3)},
        {"menu_result", QKeySequence(Qt::CTRL | Qt::Key_4)},
        {"menu_down", QKeySequence(Qt::CTRL | Qt::Key_5)},
        {"menu_delete", QKeySequence(Qt::Key_Delete)}};
    QSet<QKeySequence> standard;
    const QMetaEnum keys = QMetaEnum::fromType<QKeySequence::StandardKey>();
    for (int i = 0; i < keys.keyCount(); ++i)
        for (const QKeySequence &k :
             QKeySequence::keyBindings(static_cast<QKeySequence::StandardKey>(keys.value(i))))
            standard.insert(k);
    for (const auto &[name, sequence] : added) {
        EXPECT_EQ(action(name)->shortcut(), sequence) << name;
        // Delete deletes, as it does everywhere.
        EXPECT_TRUE(sequence == QKeySequence(Qt::Key_Delete) || !standard.contains(sequence)) << name;
    }
    QHash<QKeySequence, QString> taken;
    for (const QAction *a : window->findChildren<QAction *>()) {
        for (const QKeySequence &k : a->shortcuts()) {
            EXPECT_FALSE(taken.contains(k))
                << k.toString().toStdString() << ": " << a->objectName().toStdString() << " and "
                << taken.value(k).toStdString();
            taken.insert(k, a->objectName());
        }
    }
}

TEST_F(MainWindowTest, ToolbarButtonsByKey)
{
    auto *toolbar = window->findChild<QToolBar *>(QStringLiteral("Toolbar1"));
    ASSERT_NE(toolbar, nullptr);
    QStringList keys;
    QStringList tips;
    for (const QAction *a : toolbar->actions()) {
        if (a->isSeparator()) {
            keys << QStringLiteral("|");
            continue;
        }
        keys << a->data().toString();
        tips << a->toolTip();
        EXPECT_EQ(a->objectName(), QStringLiteral("tool_") + a->data().toString());
    }
    EXPECT_EQ(
        keys.join(QLatin1Char(' ')),
        QStringLiteral("new open write | input single multi check result | download | find stats | help"));
    EXPECT_EQ(tips,
              QStringList({QStringLiteral("新規作成"), QStringLiteral("開く"), QStringLiteral("上書き保存"),
                           QStringLiteral("新規登録"), QStringLiteral("シングル購入"),
                           QStringLiteral("マルチ購入"), QStringLiteral("購入確認・修正"),
                           QStringLiteral("結果登録"), QStringLiteral("ダウンロード"), QStringLiteral("検索"),
                           QStringLiteral("収支統計"), QStringLiteral("ヘルプ")}));
    // 検索 opens the find bar; 収支統計 needs a round, as its menu item does.
    EXPECT_FALSE(window->tool_action(QStringLiteral("stats"))->isEnabled());
    window->tool_action(QStringLiteral("find"))->trigger();
    EXPECT_TRUE(window->findChild<QWidget *>(QStringLiteral("find_bar"))->isVisible());

    QMenu *drop_down = window->tool_action(QStringLiteral("input"))->menu();
    ASSERT_NE(drop_down, nullptr);
    QStringList item_keys;
    for (const QAction *a : drop_down->actions()) {
        item_keys << a->data().toString();
        EXPECT_EQ(window->tool_action(a->data().toString()), a);
    }
    EXPECT_EQ(item_keys,
              QStringList({QStringLiteral("toto"), QStringLiteral("minitotoa"), QStringLiteral("minitotob"),
                           QStringLiteral("toto5"), QStringLiteral("totogoal"), QStringLiteral("totogoal3"),
                           QStringLiteral("totogoal2"), QStringLiteral("BIG"), QStringLiteral("100BIG"),
                           QStringLiteral("BIG1000"), QStringLiteral("miniBIG")}));
    EXPECT_EQ(
        texts_of(drop_down->actions()),
        QStringList({QStringLiteral("ｔｏｔｏ"), QStringLiteral("mini toto-A"), QStringLiteral("mini toto-B"),
                     QStringLiteral("toto5"), QStringLiteral("ｔｏｔｏＧＯＡＬ"),
                     QStringLiteral("ｔｏｔｏＧＯＡＬ3"), QStringLiteral("ｔｏｔｏＧＯＡＬ2"),
                     QStringLiteral("BIG"), QStringLiteral("100円BIG"), QStringLiteral("BIG1000"),
                     QStringLiteral("mini BIG")}));
    EXPECT_EQ(window->tool_action(QStringLiteral("none")), nullptr);
}

TEST_F(MainWindowTest, TheFileDialogsUseTheBookFilter)
{
    EXPECT_EQ(FormMain::file_filter(), QStringLiteral("ｙｏｒｉｍｏファイル(*.yrm);;すべてのファイル(*)"));
}

TEST_F(MainWindowTest, AMissingManualIsReported)
{
    action("menu_index")->trigger();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, QStringLiteral("HtmlHelpを開けません。"));
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("ｙｏｒｉｍｏ"));
    EXPECT_EQ(ui.messages[0].icon, UiServices::Icon::critical);
    EXPECT_EQ(ui.messages[0].buttons, UiServices::Buttons::ok);
    EXPECT_EQ(window->help().window(), nullptr);
}

TEST_F(MainWindowTest, TheManualOpensFromMenuAndToolbarAndClosesWithTheProgram)
{
    ASSERT_TRUE(QFile::copy(QStringLiteral(YORIMO_MANUAL), window->help_file()));
    window->tool_action(QStringLiteral("help"))->trigger();
    EXPECT_TRUE(ui.messages.empty());
    QTextBrowser *browser = window->help().window();
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->isVisible());
    EXPECT_EQ(browser->documentTitle(), QStringLiteral("ｙｏｒｉｍｏ ヘルプ"));
    action("menu_index")->trigger(); // the same window again
    EXPECT_EQ(window->help().window(), browser);

    // The manual speaks of every command of the menus.
    const QString manual = browser->toPlainText();
    for (QAction *a : window->findChildren<QAction *>()) {
        if (!a->objectName().startsWith(QStringLiteral("menu_")) ||
            a->objectName().startsWith(QStringLiteral("menu_input_")))
            continue;
        QString caption = a->text();
        caption.remove(QRegularExpression(QStringLiteral("\\(&.\\)|\\.\\.\\.$")));
        EXPECT_TRUE(manual.contains(caption)) << caption.toStdString();
    }

    EXPECT_TRUE(window->close());
    EXPECT_EQ(window->help().window(), nullptr);
}

TEST_F(MainWindowTest, TheManualsWindowGoesBackForwardHomeAndClosesByKey)
{
    ASSERT_TRUE(QFile::copy(QStringLiteral(YORIMO_MANUAL), window->help_file()));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), Qt::Key_F1);
    QMainWindow *frame = window->help().frame();
    ASSERT_NE(frame, nullptr);
    QTextBrowser *browser = window->help().window();
    const auto act = [frame](const char *name) { return frame->findChild<QAction *>(QLatin1String(name)); };
    ASSERT_TRUE(act("help_back") && act("help_forward") && act("help_home"));
    EXPECT_FALSE(act("help_back")->isEnabled());
    const QUrl contents = browser->source();
    browser->setSource(QUrl(contents.toString() + QStringLiteral("#csv")));
    EXPECT_TRUE(act("help_back")->isEnabled());
    act("help_back")->trigger();
    EXPECT_EQ(browser->source(), contents);
    EXPECT_TRUE(act("help_forward")->isEnabled());
    act("help_forward")->trigger();
    act("help_home")->trigger();
    EXPECT_EQ(browser->source(), contents);

    for (const QKeySequence &keys : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        if (!window->help().frame())
            window->menu_index_Click();
        frame = window->help().frame();
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
        QTest::keySequence(frame, keys);
        QApplication::processEvents();
        EXPECT_EQ(window->help().frame(), nullptr) << keys.toString().toStdString();
    }
}

TEST(FormAboutTest, ShowsNameVersionAndCopyright)
{
    FormAbout about;
    EXPECT_EQ(about.objectName(), QStringLiteral("frmAbout"));
    EXPECT_EQ(about.windowTitle(), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    EXPECT_EQ(about.findChild<QLabel *>(QStringLiteral("lblTitle"))->text(), QStringLiteral("ｙｏｒｉｍｏ"));
    EXPECT_EQ(about.findChild<QLabel *>(QStringLiteral("lblVersion"))->text(), QStringLiteral("Ver.1.73"));
    EXPECT_FALSE(about.findChild<QLabel *>(QStringLiteral("lbl_copyright"))->text().isEmpty());
    EXPECT_FALSE(about.findChild<QLabel *>(QStringLiteral("img_icon"))->pixmap().isNull());
    EXPECT_EQ(FormAbout::version_text(2, 5), QStringLiteral("Ver.2.05"));
    EXPECT_EQ(FormAbout::version_text(1, 0), QStringLiteral("Ver.1.00"));
}

TEST_F(MainWindowTest, TheVersionBoxIsModalAndClosedByOk)
{
    QString seen;
    QTimer::singleShot(0, [&] {
        QWidget *box = QApplication::activeModalWidget();
        if (!box)
            return;
        seen = box->objectName();
        if (auto *ok = box->findChild<QPushButton *>(QStringLiteral("cmdOK")))
            ok->click();
    });
    action("menu_ver")->trigger();
    EXPECT_EQ(seen, QStringLiteral("frmAbout"));
}

TEST(HelpFilePath, BesideTheProgramFirstThenTheInstalledManual)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QDir dir(root.path());
    ASSERT_TRUE(dir.mkpath(QStringLiteral("bin/help")));
    ASSERT_TRUE(dir.mkpath(QStringLiteral("share/yorimo/help")));
    const QString program = dir.filePath(QStringLiteral("bin"));
    const QString beside = dir.filePath(QStringLiteral("bin/help/index.html"));
    const QString installed = dir.filePath(QStringLiteral("share/yorimo/help/index.html"));

    // Neither exists: the place beside the program, so the missing manual is reported.
    EXPECT_EQ(help_file_path(program), beside);
    QFile(installed).open(QIODevice::WriteOnly);
    EXPECT_EQ(help_file_path(program), installed);
    QFile(beside).open(QIODevice::WriteOnly);
    EXPECT_EQ(help_file_path(program), beside);
}

TEST_F(MainWindowTest, AllTwelveToolbarButtonsFitTheNarrowestWindowWithTheirIcons)
{
    window->resize(FormMain::kMinimumWidth, window->height());
    QApplication::processEvents();
    auto *toolbar = window->findChild<QToolBar *>(QStringLiteral("Toolbar1"));
    ASSERT_NE(toolbar, nullptr);
    int buttons = 0;
    for (QAction *a : toolbar->actions()) {
        if (a->isSeparator())
            continue;
        ++buttons;
        QWidget *button = toolbar->widgetForAction(a);
        ASSERT_NE(button, nullptr) << a->objectName().toStdString();
        EXPECT_TRUE(button->isVisible()) << a->objectName().toStdString();
        EXPECT_LE(button->geometry().right(), toolbar->width()) << a->objectName().toStdString();
        EXPECT_FALSE(a->icon().pixmap(QSize(20, 20)).isNull()) << a->objectName().toStdString();
    }
    EXPECT_EQ(buttons, 12);
}

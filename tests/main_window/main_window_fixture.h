#pragma once

#include "book/book_file.h"
#include "main_window/entry_list_model.h"
#include "main_window/form_main.h"
#include "support/book_builders.h"
#include "support/document_helpers.h"
#include "support/fake_ui_services.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeView>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

// A main window on the offscreen screen with scripted message boxes and file dialogs, and a
// temporary folder for its books (also the folder of the backup copies).
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        qputenv("TEMP", QFile::encodeName(dir.path()));
        window = std::make_unique<FormMain>(ui, file(QStringLiteral("manual.html")));
        window->show();
    }

    QString file(const QString &name) const { return QDir(dir.path()).filePath(name); }

    // Writes a book under `name` in the temporary folder and returns its path.
    QString write_book(const TicketBook &book, const QString &name)
    {
        const QString path = file(name);
        EXPECT_TRUE(write_data(book, path).ok);
        return path;
    }

    QAction *action(const char *name) const
    {
        auto *a = window->findChild<QAction *>(QLatin1String(name));
        EXPECT_NE(a, nullptr) << name;
        return a;
    }
    QPushButton *button(const char *name) const
    {
        auto *b = window->findChild<QPushButton *>(QLatin1String(name));
        EXPECT_NE(b, nullptr) << name;
        return b;
    }
    QString label(const char *name) const
    {
        auto *l = window->findChild<QLabel *>(QLatin1String(name));
        EXPECT_NE(l, nullptr) << name;
        return l ? l->text() : QString();
    }

    int rows() const { return window->list()->model()->rowCount(); }
    QStringList row_texts(int row) const
    {
        QStringList texts;
        const QAbstractItemModel *model = window->list()->model();
        for (int c = 0; c < model->columnCount(); ++c)
            texts << model->index(row, c).data().toString();
        return texts;
    }

    // Enabled state of the four entry commands as "single multi kakunin result", menu then toolbar.
    QString entry_commands() const
    {
        QString s;
        for (const char *name : {"menu_single", "menu_multi", "menu_kakunin", "menu_result", "tool_single",
                                 "tool_multi", "tool_check", "tool_result"})
            s += action(name)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return s;
    }
    QString move_commands() const
    {
        return QString(button("cmd_up")->isEnabled() ? QLatin1Char('1') : QLatin1Char('0')) +
               (button("cmd_down")->isEnabled() ? QLatin1Char('1') : QLatin1Char('0'));
    }

    QTemporaryDir dir;
    FakeUiServices ui;
    std::unique_ptr<FormMain> window;
};

// Runs `command` and drives the modal dialog it opens with `drive`; false when no dialog
// came up. A dialog the driver leaves open is cancelled so a failing test cannot hang. The
// timer dies with the call, so a command that opens nothing leaves no stale driver behind
// for a later test's dialog.
bool with_dialog(const std::function<void()> &command, const std::function<void(QDialog *)> &drive);

// A toto round with a 1等 and a 2等 ticket, a BIG round with a 6等 and a losing ticket, a
// refunded 100円BIG round with three tickets and an empty totoGOAL round. Graded.
TicketBook four_round_book();

// The rows of four_round_book as the list shows them.
QStringList toto_row();
QStringList big_row();
QStringList refund_row();
QStringList goal_row();

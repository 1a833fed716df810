#include "ui/ui_services.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

struct SeenBox {
    QString title;
    QString text;
    int detail_lines = 0;
    bool no_is_default = false;
};

// Looks at the real box once it is up, then presses `key` on it.
void answer_with(SeenBox &seen, Qt::Key key)
{
    QTimer::singleShot(0, [&seen, key] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen.title = box->windowTitle();
        seen.text = box->text();
        if (auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_informativelabel")))
            seen.detail_lines =
                label->fontMetrics()
                    .boundingRect(QRect(0, 0, label->width(), 2000), Qt::TextWordWrap, label->text())
                    .height() /
                label->fontMetrics().lineSpacing();
        seen.no_is_default =
            static_cast<QAbstractButton *>(box->defaultButton()) == box->button(QMessageBox::No);
        QTest::keyClick(box, key);
    });
}

TEST(MessageBox, AShortDetailReadsAsOneLine)
{
    QtUiServices ui;
    SeenBox seen;
    answer_with(seen, Qt::Key_Return);
    const auto answer = ui.message(nullptr, QStringLiteral("CSV読み込み失敗"), QStringLiteral("yorimo"),
                                   UiServices::Icon::none, UiServices::Buttons::ok,
                                   QStringLiteral("3行目: 行の種類（S、M、R）が読めません。"));
    EXPECT_EQ(answer, UiServices::Answer::ok);
    EXPECT_EQ(seen.title, QStringLiteral("yorimo"));
    EXPECT_EQ(seen.text, QStringLiteral("CSV読み込み失敗"));
    EXPECT_EQ(seen.detail_lines, 1);
}

TEST(MessageBox, EnterOnADeletionQuestionAnswersNo)
{
    QtUiServices ui;
    SeenBox seen;
    answer_with(seen, Qt::Key_Return);
    const auto answer = ui.message(nullptr, QStringLiteral("削除していいですか？"), QStringLiteral("yorimo"),
                                   UiServices::Icon::question, UiServices::Buttons::yes_no_default_no);
    EXPECT_TRUE(seen.no_is_default);
    EXPECT_EQ(answer, UiServices::Answer::no);
}

} // namespace

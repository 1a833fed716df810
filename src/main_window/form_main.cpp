// The main window: its menus, toolbar, list and totals, and what they enable.
#include "main_window/form_main.h"

#include "download/form_inet.h"
#include "main_window/entry_list_model.h"
#include "main_window/find_bar.h"
#include "main_window/frozen_list_view.h"
#include "main_window/list_columns.h"
#include "main_window/notice_bar.h"

#include <QAction>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <array>

namespace {

struct KindItem {
    const char *menu_name; // item of 新規登録 in the edit menu, captioned with the kind's name
    char access_key;       // and this key
    const char *tool_key;  // item of the toolbar's drop-down
    const char16_t *tool_text;
    LotteryKind kind;
};

const std::array<KindItem, kKindCount> kKindItems = {{
    {"menu_input_toto", 'T', "toto", u"ｔｏｔｏ", LotteryKind::toto},
    {"menu_input_minitotoA", 'A', "minitotoa", u"mini toto-A", LotteryKind::minitotoA},
    {"menu_input_minitotoB", 'B', "minitotob", u"mini toto-B", LotteryKind::minitotoB},
    {"menu_input_toto5", '5', "toto5", u"toto5", LotteryKind::toto5},
    {"menu_input_totoGOAL", 'G', "totogoal", u"ｔｏｔｏＧＯＡＬ", LotteryKind::totoGOAL},
    {"menu_input_totoGOAL3", '3', "totogoal3", u"ｔｏｔｏＧＯＡＬ3", LotteryKind::totoGOAL3},
    {"menu_input_totoGOAL2", '2', "totogoal2", u"ｔｏｔｏＧＯＡＬ2", LotteryKind::totoGOAL2},
    {"menu_input_BIG", 'I', "BIG", u"BIG", LotteryKind::BIG},
    {"menu_input_100BIG", '1', "100BIG", u"100円BIG", LotteryKind::BIG100},
    {"menu_input_BIG1000", '0', "BIG1000", u"BIG1000", LotteryKind::BIG1000},
    {"menu_input_miniBIG", 'M', "miniBIG", u"mini BIG", LotteryKind::miniBIG},
}};

constexpr int kStartWidth = 820;
constexpr int kStartHeight = 460;
constexpr int kTotalWidth = 110;

QString text(const char16_t *utf16)
{
    return QString::fromUtf16(utf16);
}

// Triggers `action`, when enabled, for `key` pressed without modifiers in the watched widget.
class KeyTriggers : public QObject {
public:
    KeyTriggers(QObject *parent, int key, QAction *action) : QObject(parent), key_(key), action_(action) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const auto *pressed = static_cast<QKeyEvent *>(event);
            if (pressed->key() == key_ && pressed->modifiers() == Qt::NoModifier && action_->isEnabled()) {
                action_->trigger();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    int key_;
    QAction *action_;
};

} // namespace

FormMain::FormMain(UiServices &ui, QString help_file, QWidget *parent)
    : QMainWindow(parent), ui_(ui), help_file_(std::move(help_file))
{
    setObjectName(QStringLiteral("form_main"));
    build_menus();
    build_toolbar();
    build_central();
    build_watcher();
    state_.document.set_listener([this](const BookChange &change) { book_changed(change); });
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    // Wide enough that every column shows beside a vertical scrollbar.
    int width = start_width();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        width = std::min(width, screen->availableGeometry().width());
    resize(width, kStartHeight);
    toto_clear();
}

FormMain::~FormMain()
{
    help_.close_all();
}

DownloadRun &FormMain::download_run()
{
    if (!download_)
        download_ = std::make_unique<DownloadRun>(DownloadAddresses::from_environment(),
                                                  std::make_unique<SystemClock>());
    return *download_;
}

void FormMain::set_download_run(std::unique_ptr<DownloadRun> run)
{
    download_ = std::move(run);
}

QString FormMain::file_filter()
{
    return QStringLiteral("ｙｏｒｉｍｏファイル(*.yrm);;すべてのファイル(*)");
}

// --- construction ---------------------------------------------------------------------------

QAction *FormMain::add_menu_action(QMenu *menu, const char *name, const QString &caption)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

void FormMain::build_menus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    file->setObjectName(QStringLiteral("menu_file"));
    QAction *menu_new = add_menu_action(file, "menu_new", QStringLiteral("新規作成(&N)..."));
    menu_new->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    connect(menu_new, &QAction::triggered, this, &FormMain::menu_new_Click);
    QAction *menu_open = add_menu_action(file, "menu_open", QStringLiteral("開く(&O)..."));
    menu_open->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    connect(menu_open, &QAction::triggered, this, &FormMain::menu_open_Click);
    file->addSeparator();
    QAction *menu_over = add_menu_action(file, "menu_over", QStringLiteral("上書き保存(&S)"));
    menu_over->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(menu_over, &QAction::triggered, this, &FormMain::menu_over_Click);
    connect(add_menu_action(file, "menu_save", QStringLiteral("名前を付けて保存(&A)...")),
            &QAction::triggered, this, &FormMain::menu_save_Click);
    file->addSeparator();
    QMenu *csv = file->addMenu(QStringLiteral("ＣＳＶ(&C)"));
    csv->setObjectName(QStringLiteral("menu_csv"));
    QAction *menu_csv_write = add_menu_action(csv, "menu_csv_write", QStringLiteral("書き出し(&E)"));
    connect(menu_csv_write, &QAction::triggered, this, &FormMain::menu_csv_write_Click);
    connect(add_menu_action(csv, "menu_csv_read", QStringLiteral("読み込み(&I)")), &QAction::triggered, this,
            &FormMain::menu_csv_read_Click);
    file->addSeparator();
    build_print_menu(file);
    file->addSeparator();
    connect(add_menu_action(file, "menu_end", QStringLiteral("終了(&X)")), &QAction::triggered, this,
            &FormMain::menu_end_Click);

    QMenu *edit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    edit->setObjectName(QStringLiteral("menu_edit"));
    menu_undo_ = add_menu_action(edit, "menu_undo", QString());
    menu_undo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    connect(menu_undo_, &QAction::triggered, this, &FormMain::menu_undo_Click);
    menu_redo_ = add_menu_action(edit, "menu_redo", QString());
    menu_redo_->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    connect(menu_redo_, &QAction::triggered, this, &FormMain::menu_redo_Click);
    edit->addSeparator();
    QAction *menu_find = add_menu_action(edit, "menu_find", QStringLiteral("検索(&F)..."));
    menu_find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    connect(menu_find, &QAction::triggered, this, &FormMain::menu_find_Click);
    edit->addSeparator();
    QMenu *input = edit->addMenu(QStringLiteral("新規登録(&N)"));
    input->setObjectName(QStringLiteral("menu_input"));
    for (const KindItem &item : kKindItems) {
        const LotteryKind kind = item.kind;
        const QString caption =
            kind_display_name(item.kind) + QStringLiteral("(&") + QLatin1Char(item.access_key) + u')';
        connect(add_menu_action(input, item.menu_name, caption), &QAction::triggered, this,
                [this, kind] { register_round(kind); });
    }
    // Ctrl+1 to Ctrl+5 follow the toolbar's buttons of a round, from the left.
    QAction *menu_single = add_menu_action(edit, "menu_single", QStringLiteral("シングル購入(&S)"));
    menu_single->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_1));
    connect(menu_single, &QAction::triggered, this, &FormMain::menu_single_Click);
    QAction *menu_multi = add_menu_action(edit, "menu_multi", QStringLiteral("マルチ購入(&M)"));
    menu_multi->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_2));
    connect(menu_multi, &QAction::triggered, this, &FormMain::menu_multi_Click);
    QAction *menu_quick = add_menu_action(edit, "menu_quick", QStringLiteral("まとめて入力(&Q)..."));
    menu_quick->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    connect(menu_quick, &QAction::triggered, this, &FormMain::menu_quick_Click);
    entry_actions_ << menu_quick;
    QAction *menu_kakunin = add_menu_action(edit, "menu_kakunin", QStringLiteral("購入確認・修正(&C)"));
    menu_kakunin->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_3));
    connect(menu_kakunin, &QAction::triggered, this, &FormMain::menu_kakunin_Click);
    QAction *menu_result = add_menu_action(edit, "menu_result", QStringLiteral("結果入力(&I)"));
    menu_result->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_4));
    connect(menu_result, &QAction::triggered, this, &FormMain::menu_result_Click);
    QAction *menu_live = add_menu_action(edit, "menu_live", QStringLiteral("途中経過(&L)..."));
    menu_live->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    menu_live->setEnabled(false);
    connect(menu_live, &QAction::triggered, this, &FormMain::menu_live_Click);
    edit->addSeparator();
    QAction *menu_down = add_menu_action(edit, "menu_down", QStringLiteral("ダウンロード(&D)..."));
    menu_down->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_5));
    connect(menu_down, &QAction::triggered, this, &FormMain::menu_down_Click);
    QAction *menu_batch = add_menu_action(edit, "menu_batch", QStringLiteral("結果を一括更新(&B)..."));
    menu_batch->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_U));
    menu_batch->setEnabled(false);
    connect(menu_batch, &QAction::triggered, this, &FormMain::menu_batch_Click);
    edit->addSeparator();
    QAction *menu_stats = add_menu_action(edit, "menu_stats", QStringLiteral("収支統計(&T)..."));
    menu_stats->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    connect(menu_stats, &QAction::triggered, this, &FormMain::menu_stats_Click);
    // The export writes the selected round, so it follows the selection like the entry commands.
    entry_actions_ << menu_single << menu_kakunin << menu_result << menu_csv_write;
    multi_actions_ << menu_multi;

    QMenu *help = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    help->setObjectName(QStringLiteral("menu_help"));
    QAction *menu_index = add_menu_action(help, "menu_index", QStringLiteral("トピックの検索(&C)"));
    menu_index->setShortcut(QKeySequence(Qt::Key_F1));
    connect(menu_index, &QAction::triggered, this, &FormMain::menu_index_Click);
    help->addSeparator();
    connect(add_menu_action(help, "menu_ver", QStringLiteral("バージョン情報(&A)")), &QAction::triggered,
            this, &FormMain::menu_ver_Click);
}

QAction *FormMain::add_tool_action(const QString &key, const QString &caption, const QString &tip)
{
    QAction *action = new QAction(caption, this);
    action->setObjectName(QStringLiteral("tool_") + key);
    action->setToolTip(tip);
    action->setData(key);
    toolbar_->addAction(action);
    tool_actions_.insert(key, action);
    return action;
}

void FormMain::build_toolbar()
{
    toolbar_ = addToolBar(QStringLiteral("Toolbar1"));
    toolbar_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar_->setMovable(false);
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    // Small icons and captions, so that all twelve buttons fit the narrowest window.
    toolbar_->setIconSize(QSize(20, 20));
    QFont small = toolbar_->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    toolbar_->setFont(small);

    QAction *tool_new =
        add_tool_action(QStringLiteral("new"), QStringLiteral("新規"), QStringLiteral("新規作成"));
    tool_new->setIcon(QIcon(QStringLiteral(":/icons/new.svg")));
    connect(tool_new, &QAction::triggered, this, &FormMain::menu_new_Click);
    QAction *tool_open =
        add_tool_action(QStringLiteral("open"), QStringLiteral("開く"), QStringLiteral("開く"));
    tool_open->setIcon(QIcon(QStringLiteral(":/icons/open.svg")));
    connect(tool_open, &QAction::triggered, this, &FormMain::menu_open_Click);
    QAction *tool_write =
        add_tool_action(QStringLiteral("write"), QStringLiteral("保存"), QStringLiteral("上書き保存"));
    tool_write->setIcon(QIcon(QStringLiteral(":/icons/save.svg")));
    connect(tool_write, &QAction::triggered, this, &FormMain::menu_over_Click);
    toolbar_->addSeparator();

    // The button registers a toto round; its drop-down offers every kind.
    QMenu *input_menu = new QMenu(this);
    input_menu->setObjectName(QStringLiteral("tool_input_menu"));
    for (const KindItem &item : kKindItems) {
        const QString key = QLatin1String(item.tool_key);
        QAction *action = input_menu->addAction(text(item.tool_text));
        action->setObjectName(QStringLiteral("tool_input_") + key);
        action->setData(key);
        tool_actions_.insert(key, action);
        const LotteryKind kind = item.kind;
        connect(action, &QAction::triggered, this, [this, kind] { register_round(kind); });
    }
    QAction *tool_input =
        add_tool_action(QStringLiteral("input"), QStringLiteral("登録"), QStringLiteral("新規登録"));
    tool_input->setIcon(QIcon(QStringLiteral(":/icons/input.svg")));
    tool_input->setMenu(input_menu);
    connect(tool_input, &QAction::triggered, this, [this] { register_round(LotteryKind::toto); });
    if (auto *button = qobject_cast<QToolButton *>(toolbar_->widgetForAction(tool_input)))
        button->setPopupMode(QToolButton::MenuButtonPopup);

    QAction *tool_single =
        add_tool_action(QStringLiteral("single"), QStringLiteral("シングル"), QStringLiteral("シングル購入"));
    tool_single->setIcon(QIcon(QStringLiteral(":/icons/single.svg")));
    connect(tool_single, &QAction::triggered, this, &FormMain::menu_single_Click);
    QAction *tool_multi =
        add_tool_action(QStringLiteral("multi"), QStringLiteral("マルチ"), QStringLiteral("マルチ購入"));
    tool_multi->setIcon(QIcon(QStringLiteral(":/icons/multi.svg")));
    connect(tool_multi, &QAction::triggered, this, &FormMain::menu_multi_Click);
    QAction *tool_check = add_tool_action(QStringLiteral("check"), QStringLiteral("確認・修正"),
                                          QStringLiteral("購入確認・修正"));
    tool_check->setIcon(QIcon(QStringLiteral(":/icons/check.svg")));
    connect(tool_check, &QAction::triggered, this, &FormMain::menu_kakunin_Click);
    QAction *tool_result =
        add_tool_action(QStringLiteral("result"), QStringLiteral("結果"), QStringLiteral("結果登録"));
    tool_result->setIcon(QIcon(QStringLiteral(":/icons/result.svg")));
    connect(tool_result, &QAction::triggered, this, &FormMain::menu_result_Click);
    toolbar_->addSeparator();
    QAction *tool_download = add_tool_action(QStringLiteral("download"), QStringLiteral("ダウンロード"),
                                             QStringLiteral("ダウンロード"));
    tool_download->setIcon(QIcon(QStringLiteral(":/icons/download.svg")));
    connect(tool_download, &QAction::triggered, this, &FormMain::menu_down_Click);
    // Its drop-down also offers 結果を一括更新, the 編集 menu's own command.
    if (auto *menu_batch = findChild<QAction *>(QStringLiteral("menu_batch"))) {
        QMenu *download_menu = new QMenu(this);
        download_menu->setObjectName(QStringLiteral("tool_download_menu"));
        download_menu->addAction(findChild<QAction *>(QStringLiteral("menu_down")));
        download_menu->addAction(menu_batch);
        tool_download->setMenu(download_menu);
        if (auto *button = qobject_cast<QToolButton *>(toolbar_->widgetForAction(tool_download)))
            button->setPopupMode(QToolButton::MenuButtonPopup);
    }
    toolbar_->addSeparator();
    QAction *tool_find =
        add_tool_action(QStringLiteral("find"), QStringLiteral("検索"), QStringLiteral("検索"));
    tool_find->setIcon(QIcon(QStringLiteral(":/icons/find.svg")));
    connect(tool_find, &QAction::triggered, this, &FormMain::menu_find_Click);
    QAction *tool_stats =
        add_tool_action(QStringLiteral("stats"), QStringLiteral("統計"), QStringLiteral("収支統計"));
    tool_stats->setIcon(QIcon(QStringLiteral(":/icons/stats.svg")));
    connect(tool_stats, &QAction::triggered, this, &FormMain::menu_stats_Click);
    toolbar_->addSeparator();
    QAction *tool_help =
        add_tool_action(QStringLiteral("help"), QStringLiteral("ヘルプ"), QStringLiteral("ヘルプ"));
    tool_help->setIcon(QIcon(QStringLiteral(":/icons/help.svg")));
    connect(tool_help, &QAction::triggered, this, &FormMain::menu_index_Click);

    entry_actions_ << tool_single << tool_check << tool_result;
    multi_actions_ << tool_multi;
}

void FormMain::build_central()
{
    auto *central = new QWidget(this);
    auto *grid = new QGridLayout(central);

    model_ = new EntryListModel(state_.book(), this);
    // 収支統計 and printing need an entry: follow the rows as they come and go.
    const auto stats_follow_rows = [this] {
        for (const char *name : {"menu_stats", "tool_stats", "menu_print", "menu_preview", "menu_pdf"})
            findChild<QAction *>(QLatin1String(name))->setEnabled(state_.book().entry_count() > 0);
    };
    connect(model_, &QAbstractItemModel::rowsInserted, this, stats_follow_rows);
    connect(model_, &QAbstractItemModel::rowsRemoved, this, stats_follow_rows);
    connect(model_, &QAbstractItemModel::modelReset, this, stats_follow_rows);
    // 回 and 種別 stay in sight while a narrow window scrolls the amounts.
    auto *list = new FrozenListView(2, central);
    lvw_main_ = list;
    lvw_main_->setObjectName(QStringLiteral("lvw_main"));
    lvw_main_->setRootIsDecorated(false);
    lvw_main_->setItemsExpandable(false);
    lvw_main_->setUniformRowHeights(true); // rows are never measured one by one
    lvw_main_->setAllColumnsShowFocus(true);
    lvw_main_->setSelectionMode(QAbstractItemView::SingleSelection);
    lvw_main_->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvw_main_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvw_main_->setModel(model_);
    // 当選金額 takes whatever width the window has beyond the columns.
    lvw_main_->header()->setStretchLastSection(true);
    lvw_main_->header()->setSectionsMovable(false);
    model_->set_row_height(list_row_height(lvw_main_->fontMetrics()));
    const auto widths = list_column_widths(lvw_main_->fontMetrics(), lvw_main_->header()->fontMetrics());
    list_width_ = 2 * lvw_main_->frameWidth() + lvw_main_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    for (size_t c = 0; c < widths.size(); ++c) {
        lvw_main_->setColumnWidth(static_cast<int>(c), widths[c]);
        list_width_ += widths[c];
    }
    connect(lvw_main_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &FormMain::lvw_main_ItemClick);
    // A click on a heading sorts the rows shown by that column; the book keeps its order.
    list->set_sortable();
    connect(lvw_main_->header(), &QHeaderView::sortIndicatorChanged, this,
            [this](int column, Qt::SortOrder order) {
                model_->sort(column, order);
                lvw_main_ItemClick(); // ▲/▼ follow
                if (const QModelIndex current = lvw_main_->currentIndex(); current.isValid())
                    lvw_main_->scrollTo(current);
            });
    // The find bar lies over the list, hidden until 検索; its kinds are the menu's.
    std::vector<LotteryKind> menu_kinds;
    for (const KindItem &item : kKindItems)
        menu_kinds.push_back(item.kind);
    build_find_bar(central, menu_kinds);
    auto *listed = new QVBoxLayout();
    notice_ = new NoticeBar(central);
    listed->addWidget(notice_);
    listed->addWidget(find_bar_);
    listed->addWidget(lvw_main_, 1);
    grid->addLayout(listed, 0, 0);
    build_list_conveniences();

    // The move buttons sit beside the list, kept at the bottom as the window grows.
    auto *moves = new QVBoxLayout();
    moves->addStretch(1);
    cmd_up_ = new QPushButton(QStringLiteral("▲"), central);
    cmd_up_->setObjectName(QStringLiteral("cmd_up"));
    cmd_down_ = new QPushButton(QStringLiteral("▼"), central);
    cmd_down_->setObjectName(QStringLiteral("cmd_down"));
    for (QPushButton *b : {cmd_up_, cmd_down_}) {
        b->setFixedWidth(32);
        b->setAutoDefault(false);
        moves->addWidget(b);
    }
    connect(cmd_up_, &QPushButton::clicked, this, &FormMain::cmd_up_Click);
    connect(cmd_down_, &QPushButton::clicked, this, &FormMain::cmd_down_Click);
    grid->addLayout(moves, 0, 1);
    const QMargins margins = grid->contentsMargins();
    beside_list_ = margins.left() + margins.right() + grid->horizontalSpacing() + cmd_up_->width();

    auto *lbl_sum = new QLabel(QStringLiteral("合計"), central);
    lbl_sum->setObjectName(QStringLiteral("lbl_sum"));
    // While the list is filtered, the line says how many rows it shows of the book's.
    auto *sum_line = new QHBoxLayout();
    sum_line->addWidget(lbl_sum);
    sum_line->addStretch(1);
    sum_line->addWidget(lbl_shown_);
    grid->addLayout(sum_line, 1, 0, 1, 2);

    auto *totals = new QHBoxLayout();
    auto add_total = [&](const char *name_label, const QString &caption, const char *value_label) {
        auto *name = new QLabel(caption, central);
        name->setObjectName(QLatin1String(name_label));
        auto *value = new QLabel(QStringLiteral("0"), central);
        value->setObjectName(QLatin1String(value_label));
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        value->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        value->setMinimumWidth(kTotalWidth);
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        totals->addWidget(name);
        totals->addWidget(value);
        totals->addSpacing(16);
        return value;
    };
    lbl_buy_ = add_total("lbl_buy_name", QStringLiteral("購入金額"), "lbl_buy");
    lbl_get_ = add_total("lbl_get_name", QStringLiteral("当選金額"), "lbl_get");
    lbl_kin_ = add_total("lbl_kin_name", QStringLiteral("収支"), "lbl_kin");
    totals->addStretch(1);
    grid->addLayout(totals, 2, 0, 1, 2);
    grid->setRowStretch(0, 1);
    grid->setColumnStretch(0, 1);
    setCentralWidget(central);
}

// --- enabling ---------------------------------------------------------------------------------

void FormMain::set_entry_commands(bool enabled, bool multi_enabled)
{
    for (QAction *a : std::as_const(entry_actions_))
        a->setEnabled(enabled);
    for (QAction *a : std::as_const(multi_actions_))
        a->setEnabled(enabled && multi_enabled);
}

void FormMain::set_move_commands(bool up, bool down)
{
    cmd_up_->setEnabled(up);
    cmd_down_->setEnabled(down);
}

QAction *FormMain::tool_action(const QString &key) const
{
    return tool_actions_.value(key, nullptr);
}

void FormMain::build_list_conveniences()
{
    // Enter or a double-click on a row opens its review, as 購入確認・修正 does.
    connect(lvw_main_, &QAbstractItemView::activated, this, [this] {
        if (QAction *review = findChild<QAction *>(QStringLiteral("menu_kakunin"));
            review && review->isEnabled())
            review->trigger();
    });
    // Delete on a row deletes its round, behind the question of 購入確認・修正's 削除. The key is
    // the list's own (a key event, not a shortcut, so that a dialog that has just opened
    // over the list keeps its Delete); the row's menu shows it beside the command.
    menu_delete_ = new QAction(QStringLiteral("開催回の削除(&D)..."), this);
    menu_delete_->setObjectName(QStringLiteral("menu_delete"));
    menu_delete_->setShortcut(QKeySequence(Qt::Key_Delete));
    menu_delete_->setShortcutContext(Qt::WidgetShortcut);
    connect(menu_delete_, &QAction::triggered, this, &FormMain::menu_delete_Click);
    entry_actions_ << menu_delete_;
    lvw_main_->installEventFilter(new KeyTriggers(lvw_main_, Qt::Key_Delete, menu_delete_));
    // A right-click on a row offers the row's commands, enabled as in the menu.
    lvw_main_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(lvw_main_, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        const QModelIndex index = lvw_main_->indexAt(at);
        if (!index.isValid())
            return;
        select_row(model_->entry_of(index.row()));
        auto *menu = new QMenu(lvw_main_);
        menu->setObjectName(QStringLiteral("menu_row"));
        menu->setAttribute(Qt::WA_DeleteOnClose);
        for (const char *name :
             {"menu_single", "menu_multi", "menu_quick", "menu_kakunin", "menu_result", "menu_live"})
            menu->addAction(findChild<QAction *>(QLatin1String(name)));
        menu->addSeparator();
        menu->addAction(menu_delete_);
        menu->popup(lvw_main_->viewport()->mapToGlobal(at));
    });
    // An empty book says where to begin.
    lbl_empty_ = new QLabel(QStringLiteral("編集 › 新規登録 で開催回を登録します"), lvw_main_->viewport());
    lbl_empty_->setObjectName(QStringLiteral("lbl_empty"));
    lbl_empty_->setAlignment(Qt::AlignCenter);
    lbl_empty_->setEnabled(false);
    auto *centre = new QVBoxLayout(lvw_main_->viewport());
    centre->addWidget(lbl_empty_);
    const auto follow_rows = [this] {
        lbl_empty_->setText(model_->filtered() ? QStringLiteral("条件に合う開催回はありません")
                                               : QStringLiteral("編集 › 新規登録 で開催回を登録します"));
        lbl_empty_->setVisible(model_->rowCount() == 0);
    };
    connect(model_, &QAbstractItemModel::rowsInserted, this, follow_rows);
    connect(model_, &QAbstractItemModel::rowsRemoved, this, follow_rows);
    connect(model_, &QAbstractItemModel::modelReset, this, follow_rows);
    follow_rows();
}

int FormMain::start_width() const
{
    return std::max(kStartWidth, list_width_ + beside_list_);
}

// yorimo-cli: the book without a window, for scripts and for checking files.
#include "cli/cli_commands.h"

#include <QCoreApplication>
#include <array>

namespace {

struct Command {
    const char *name;
    const char *usage;
    int (*run)(const QStringList &args);
};

const std::array kCommands = {
    Command{"list", "list BOOK.yrm", cli_list},
    Command{"dump", "dump BOOK.yrm", cli_dump},
    Command{"export-csv", "export-csv BOOK.yrm ROW OUT.csv", cli_export_csv},
    Command{"import-csv", "import-csv BOOK.yrm IN.csv", cli_import_csv},
    Command{"download",
            "download [--today YYYY/MM/DD] [--into BOOK.yrm [--entry ROW]] CAPTION... | download [--today "
            "YYYY/MM/DD] --walks FILE",
            cli_download},
    Command{"stats", "stats BOOK.yrm", cli_stats},
    Command{"add", "add BOOK.yrm ROW FILE", cli_add},
    Command{"tickets", "tickets BOOK.yrm ROW", cli_tickets},
    Command{"update", "update [--today YYYY/MM/DD] [--dry-run] BOOK.yrm", cli_update},
    Command{"live", "live BOOK.yrm ROW [SLOT=MARK ...]", cli_live},
};

// One line on stderr: the command's usage, or the commands there are.
int usage(const Command *command = nullptr)
{
    QByteArray line = "usage: yorimo-cli ";
    if (command) {
        line += command->usage;
    } else {
        line += "COMMAND ..., COMMAND one of";
        for (const Command &c : kCommands)
            line += QByteArray(" ") + c.name;
    }
    print_utf8(stderr, line + '\n');
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2)
        return usage();
    for (const Command &command : kCommands) {
        if (args[1] == QLatin1String(command.name)) {
            const int status = command.run(args.mid(2));
            return status == kUsageFault ? usage(&command) : status;
        }
    }
    return usage();
}

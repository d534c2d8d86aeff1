// euchre-tally: shows a tally file's counts, and packs or unpacks files in the
// tally's container format.
#include "app/commandline.h"
#include "tally/tallyfile.h"
#include "tally/tlzrw1.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

namespace {

constexpr char kUsage[] =
    "usage: euchre-tally show FILE\n"
    "       euchre-tally decompress IN OUT\n"
    "       euchre-tally compress IN OUT\n"
    "\n"
    "show        prints the own totals kept in the tally file FILE (normally\n"
    "            Euchretally.tld beside the settings file), then one line per\n"
    "            followed player: games together, his wins against you, your\n"
    "            wins against him, wins as partners, and the same four counts\n"
    "            of the last run of the program.\n"
    "decompress  unpacks the container IN into the file OUT.\n"
    "compress    packs the file IN into the container OUT.\n"
    "\n"
    "OUT appears only when the whole run succeeded. On a failure the reason is\n"
    "printed on standard error and the exit status is 1.\n";

void print(const QString& line) {
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
}

void show(const QString& fileName) {
    using G = euchre::TallyGrid;
    const G grid = euchre::readTallyFile(fileName);
    print(QStringLiteral("Your Total Tally: Total Games %1, Your Wins %2, Marches %3, Euchres %4")
              .arg(grid.count(G::kGames, 0))
              .arg(grid.count(G::kWins, 0))
              .arg(grid.count(G::kMarches, 0))
              .arg(grid.count(G::kEuchres, 0)));
    if (grid.rowCount() < 2) return;
    print(QStringLiteral("Name\tGames\tHis Wins\tYour Wins\tWins as Partners\t"
                         "Session Games\tSession His Wins\tSession Your Wins\t"
                         "Session Wins as Partners"));
    for (int row = 1; row < grid.rowCount(); ++row) {
        QStringList fields{grid.cell(0, row)};
        for (int column = 1; column < G::kColumns; ++column)
            fields << QString::number(grid.count(column, row));
        print(fields.join(QLatin1Char('\t')));
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.value(0) == QLatin1String("--help") || args.value(0) == QLatin1String("-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (args.size() == 1 && euchre::commandline::asksForVersion(args[0].toStdString()))
        return euchre::commandline::printVersion("euchre-tally");
    const QString verb = args.value(0);
    const bool isShow = verb == QLatin1String("show") && args.size() == 2;
    const bool isCoding =
        (verb == QLatin1String("compress") || verb == QLatin1String("decompress")) &&
        args.size() == 3;
    if (!isShow && !isCoding) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    try {
        if (isShow) {
            show(args[1]);
        } else {
            euchre::Tlzrw1 doit;
            doit.InputFile = args[1];
            doit.OutputFile = args[2];
            if (verb == QLatin1String("compress"))
                doit.Compress();
            else
                doit.Decompress();
        }
    } catch (const euchre::ELzrw1& e) {
        std::fputs(qPrintable(e.text() + QLatin1Char('\n')), stderr);
        return 1;
    }
    return 0;
}

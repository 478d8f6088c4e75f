// The Qt platform layer: message boxes, the clock and zone, printing to PDF,
// desktop entries and the silent sound.
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QInputDialog>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "ui/QtClock.h"
#include "ui/QtDialogs.h"
#include "ui/QtPrinter.h"
#include "ui/QtProcesses.h"
#include "ui/QtSound.h"

using namespace qnr;
using platform::Answer;
using platform::Buttons;

Q_DECLARE_METATYPE(platform::Buttons)
Q_DECLARE_METATYPE(platform::Answer)
Q_DECLARE_METATYPE(platform::Icon)

namespace {

// Runs `action` on the modal widget once it is up (polling the event loop,
// never sleeping); the box's own exec keeps the loop turning.
void WhenModal(std::function<void(QWidget*)> action, int triesLeft = 200) {
    QTimer::singleShot(5, [action = std::move(action), triesLeft]() mutable {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            action(modal);
        } else if (triesLeft > 0) {
            WhenModal(std::move(action), triesLeft - 1);
        }
    });
}

}  // namespace

class QtPlatformTest : public QObject {
    Q_OBJECT

private slots:
    void buttonMapping_data();
    void buttonMapping();
    void iconAndText();
    void askAnswers_data();
    void askAnswers();
    void inputLine();
    void dayNumber_data();
    void dayNumber();
    void realClock();
    void zoneInfo_data();
    void zoneInfo();
    void pdfPrinter();
    void desktopEntry_data();
    void desktopEntry();
    void execLine_data();
    void execLine();
    void associationRunsTheWholeExecLine();
    void startErrors_data();
    void startErrors();
    void startPassesArgumentsWhole();
    void endsWithin();
    void associationErrors_data();
    void associationErrors();
    void silentSound();
};

void QtPlatformTest::buttonMapping_data() {
    QTest::addColumn<Buttons>("buttons");
    QTest::addColumn<int>("standard");
    QTest::addColumn<int>("defaultButton");
    QTest::addColumn<int>("escape");
    QTest::newRow("OK") << Buttons::OK << int(QMessageBox::Ok) << int(QMessageBox::Ok) << int(QMessageBox::Ok);
    QTest::newRow("OK/Cancel") << Buttons::OKCancel << int(QMessageBox::Ok | QMessageBox::Cancel)
                               << int(QMessageBox::Ok) << int(QMessageBox::Cancel);
    QTest::newRow("Yes/No") << Buttons::YesNo << int(QMessageBox::Yes | QMessageBox::No) << int(QMessageBox::Yes)
                            << int(QMessageBox::No);
    QTest::newRow("Yes/No/Cancel") << Buttons::YesNoCancel
                                   << int(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)
                                   << int(QMessageBox::Yes) << int(QMessageBox::Cancel);
}

void QtPlatformTest::buttonMapping() {
    QFETCH(Buttons, buttons);
    QFETCH(int, standard);
    QFETCH(int, defaultButton);
    QFETCH(int, escape);
    QCOMPARE(int(ui::StandardButtonsFor(buttons)), standard);
    QCOMPARE(int(ui::DefaultButtonFor(buttons)), defaultButton);
    QCOMPARE(int(ui::EscapeButtonFor(buttons)), escape);
    // A result that is none of the box's buttons counts as its escape button.
    QCOMPARE(ui::AnswerFor(QMessageBox::NoButton, buttons), ui::AnswerFor(escape, buttons));
}

void QtPlatformTest::iconAndText() {
    QCOMPARE(ui::IconFor(platform::Icon::None), QMessageBox::NoIcon);
    QCOMPARE(ui::IconFor(platform::Icon::Information), QMessageBox::Information);
    QCOMPARE(ui::IconFor(platform::Icon::Warning), QMessageBox::Warning);
    QCOMPARE(ui::IconFor(platform::Icon::Error), QMessageBox::Critical);
    QCOMPARE(ui::IconFor(platform::Icon::Question), QMessageBox::Question);

    // Doubled spaces survive, "\r\n" becomes one line break, Latin-1 bytes map
    // to their own code points, and "<b>" stays text.
    const std::string text = "Caf\xE9  <b>one</b>\r\ntwo\r\n\r\nthree";
    QCOMPARE(ui::MessageText(text), QString::fromUtf8("Caf\u00e9  <b>one</b>\ntwo\n\nthree"));

    QMessageBox box;
    ui::ConfigureMessageBox(box, {text, "Options File Error!", Buttons::YesNo, platform::Icon::Warning});
    QCOMPARE(box.text(), ui::MessageText(text));
    QCOMPARE(box.textFormat(), Qt::PlainText);
    QCOMPARE(box.windowTitle(), QStringLiteral("Options File Error!"));
    QCOMPARE(box.icon(), QMessageBox::Warning);
    QCOMPARE(box.standardButton(box.escapeButton()), QMessageBox::No);
    QCOMPARE(box.standardButton(box.defaultButton()), QMessageBox::Yes);
}

void QtPlatformTest::askAnswers_data() {
    QTest::addColumn<Buttons>("buttons");
    QTest::addColumn<int>("press");  // a key, or a standard button to click
    QTest::addColumn<bool>("isKey");
    QTest::addColumn<Answer>("expected");
    QTest::newRow("OK, Escape") << Buttons::OK << int(Qt::Key_Escape) << true << Answer::OK;
    QTest::newRow("OK/Cancel, Escape") << Buttons::OKCancel << int(Qt::Key_Escape) << true << Answer::Cancel;
    QTest::newRow("OK/Cancel, Return") << Buttons::OKCancel << int(Qt::Key_Return) << true << Answer::OK;
    QTest::newRow("Yes/No, Escape") << Buttons::YesNo << int(Qt::Key_Escape) << true << Answer::No;
    QTest::newRow("Yes/No, Return") << Buttons::YesNo << int(Qt::Key_Return) << true << Answer::Yes;
    QTest::newRow("Yes/No/Cancel, No") << Buttons::YesNoCancel << int(QMessageBox::No) << false << Answer::No;
    QTest::newRow("Yes/No/Cancel, Escape") << Buttons::YesNoCancel << int(Qt::Key_Escape) << true
                                           << Answer::Cancel;
}

void QtPlatformTest::askAnswers() {
    QFETCH(Buttons, buttons);
    QFETCH(int, press);
    QFETCH(bool, isKey);
    QFETCH(Answer, expected);

    QString seenText, seenTitle;
    WhenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) return;
        seenText = box->text();
        seenTitle = box->windowTitle();
        if (isKey) QTest::keyClick(box, Qt::Key(press));
        else box->button(QMessageBox::StandardButton(press))->click();
    });
    ui::QtDialogs dialogs;
    const Answer answer = dialogs.ask({"Save Updated Parameters?\r\nNow", "Save Option Changes?", buttons});
    QCOMPARE(answer, expected);
    QCOMPARE(seenText, QStringLiteral("Save Updated Parameters?\nNow"));
    QCOMPARE(seenTitle, QStringLiteral("Save Option Changes?"));
}

void QtPlatformTest::inputLine() {
    ui::QtDialogs dialogs;
    WhenModal([](QWidget* modal) {
        auto* edit = modal->findChild<QLineEdit*>();
        if (!edit) return;
        edit->setText(QStringLiteral("E"));
        qobject_cast<QDialog*>(modal)->accept();
    });
    QCOMPARE(dialogs.inputLine("CDROM Drive?", "Please Enter Drive Letter of CDROM:", "D"),
             std::optional<std::string>("E"));

    QString initial;
    WhenModal([&](QWidget* modal) {
        if (auto* edit = modal->findChild<QLineEdit*>()) initial = edit->text();
        qobject_cast<QDialog*>(modal)->reject();
    });
    QCOMPARE(dialogs.inputLine("CDROM Drive?", "Please Enter Drive Letter of CDROM:", "D"), std::nullopt);
    QCOMPARE(initial, QStringLiteral("D"));
}

void QtPlatformTest::dayNumber_data() {
    QTest::addColumn<QDateTime>("moment");
    QTest::addColumn<double>("expected");
    // Day numbers count from 1899-12-30 00:00 (day 0); 2000-01-01 is day 36526.
    QTest::newRow("day zero") << QDateTime(QDate(1899, 12, 30), QTime(0, 0)) << 0.0;
    QTest::newRow("1900-01-01") << QDateTime(QDate(1900, 1, 1), QTime(0, 0)) << 2.0;
    QTest::newRow("first observation date") << QDateTime(QDate(2002, 4, 14), QTime(12, 0)) << 37360.5;
    QTest::newRow("with milliseconds") << QDateTime(QDate(2000, 1, 1), QTime(6, 0, 0, 500))
                                       << 36526.25 + 0.5 / 86400.0;
}

void QtPlatformTest::dayNumber() {
    QFETCH(QDateTime, moment);
    QFETCH(double, expected);
    // 1e-9 day is about 0.09 ms: finer than the millisecond the clock resolves.
    QVERIFY2(std::abs(ui::DayNumberOf(moment) - expected) < 1e-9,
             qPrintable(QString::number(ui::DayNumberOf(moment), 'f', 12)));
}

void QtPlatformTest::realClock() {
    ui::QtClock clock;
    const double before = ui::DayNumberOf(QDateTime::currentDateTime());
    const double now = clock.localDayNumber();
    const double after = ui::DayNumberOf(QDateTime::currentDateTime());
    QVERIFY(before <= now && now <= after);

    const std::uint32_t t0 = clock.tickMs();
    const std::uint64_t c0 = clock.performanceCounter();
    QVERIFY(clock.tickMs() >= t0);
    QVERIFY(clock.performanceCounter() > c0);
    QVERIFY(clock.timeZone().known);
}

void QtPlatformTest::zoneInfo_data() {
    QTest::addColumn<QByteArray>("zone");
    QTest::addColumn<QDateTime>("moment");
    QTest::addColumn<int>("bias");
    QTest::addColumn<int>("daylightBias");
    QTest::addColumn<bool>("inForce");
    // Offsets of the time-zone database: Berlin UTC+1 with one hour of summer
    // time, New York UTC-5 with one hour, Tokyo UTC+9 without summer time.
    const QDateTime winter(QDate(2002, 1, 15), QTime(12, 0), Qt::UTC);
    const QDateTime summer(QDate(2002, 7, 15), QTime(12, 0), Qt::UTC);
    QTest::newRow("Berlin winter") << QByteArray("Europe/Berlin") << winter << -60 << -60 << false;
    QTest::newRow("Berlin summer") << QByteArray("Europe/Berlin") << summer << -60 << -60 << true;
    QTest::newRow("New York winter") << QByteArray("America/New_York") << winter << 300 << -60 << false;
    QTest::newRow("Tokyo") << QByteArray("Asia/Tokyo") << summer << -540 << 0 << false;
}

void QtPlatformTest::zoneInfo() {
    QFETCH(QByteArray, zone);
    QFETCH(QDateTime, moment);
    QFETCH(int, bias);
    QFETCH(int, daylightBias);
    QFETCH(bool, inForce);
    const QTimeZone tz(zone);
    if (!tz.isValid()) QSKIP("time-zone database lacks this zone");
    const platform::TimeZoneInfo info = ui::ZoneInfoAt(tz, moment);
    QVERIFY(info.known);
    QCOMPARE(info.biasMinutes, bias);
    QCOMPARE(info.standardBiasMinutes, 0);
    QCOMPARE(info.daylightBiasMinutes, daylightBias);
    QCOMPARE(info.daylightInForce, inForce);
    QVERIFY(!info.name.empty());
}

void QtPlatformTest::pdfPrinter() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("page.pdf"));
    ui::PdfPrinter printer(path.toStdString());
    printer.setOrientation(platform::Orientation::Landscape);
    QCOMPARE(printer.orientation(), platform::Orientation::Landscape);

    auto canvas = printer.begin("Quenara test");
    QVERIFY(canvas);
    QVERIFY(canvas->pageWidth() > canvas->pageHeight());
    canvas->setFontPoints(12);
    const int line = canvas->lineHeight();
    QVERIFY(line > 0 && canvas->charWidth() > 0);
    canvas->textLine(0, 0, "Observational Results");
    canvas->textLine(0, line, "Star V=12.34");
    platform::Picture picture{2, 2, {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu}};
    canvas->stretchPicture(picture, 0, 3 * line, 200, 200);
    QVERIFY(canvas->finish());

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.read(4), QByteArray("%PDF"));
    file.close();

    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty()) QSKIP("pdftotext not installed; the text was not checked");
    QProcess extract;
    extract.start(pdftotext, {QStringLiteral("-layout"), path, QStringLiteral("-")});
    QVERIFY(extract.waitForFinished(20000));
    const QString text = QString::fromUtf8(extract.readAllStandardOutput());
    QVERIFY2(text.contains(QStringLiteral("Observational Results")), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("Star V=12.34")), qPrintable(text));
    QCOMPARE(text.count(QLatin1Char('\f')), 1);  // one page
}

// "{file}" in an expected word stands for the file.
QStringList WithFile(QStringList words, const QString& file) {
    for (QString& w : words) w.replace(QStringLiteral("{file}"), file);
    return words;
}

void QtPlatformTest::desktopEntry_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QStringList>("command");
    QTest::newRow("plain") << "[Desktop Entry]\nName=Calc\nExec=localc --calc %U\n"
                           << QStringList{"localc", "--calc", "{file}"};
    QTest::newRow("quoted path") << "[Desktop Entry]\nExec=\"/opt/My Sheet/bin/sheet\" %f\n"
                                 << QStringList{"/opt/My Sheet/bin/sheet", "{file}"};
    QTest::newRow("action group first") << "[Desktop Action new]\nExec=other --new\n\n[Desktop Entry]\nExec=sheet\n"
                                        << QStringList{"sheet", "{file}"};
    QTest::newRow("TryExec is not Exec") << "[Desktop Entry]\nTryExec=sheet\n" << QStringList{};
    QTest::newRow("empty") << "" << QStringList{};
    QTest::newRow("string escapes first") << "[Desktop Entry]\nExec=sheet \"--title=A\\sB\" %f\n"
                                          << QStringList{"sheet", "--title=A B", "{file}"};
}

void QtPlatformTest::desktopEntry() {
    QFETCH(QString, entry);
    QFETCH(QStringList, command);
    const QString file = QStringLiteral("/home/ana/Run 1.CSV");
    QCOMPARE(ui::DesktopEntryCommand(entry, QStringLiteral("/x/sheet.desktop"), file), WithFile(command, file));
}

// Exec values as the desktop entry file holds them: the general string
// escapes, then the quoting, then the field codes.
void QtPlatformTest::execLine_data() {
    QTest::addColumn<QString>("exec");
    QTest::addColumn<QStringList>("command");  // empty: refused
    QTest::newRow("sandboxed") << "/usr/bin/flatpak run --branch=stable --command=sheet --file-forwarding "
                                  "org.example.Sheet @@u %U @@"
                               << QStringList{"/usr/bin/flatpak", "run", "--branch=stable", "--command=sheet",
                                              "--file-forwarding", "org.example.Sheet", "@@u", "{file}", "@@"};
    QTest::newRow("through env") << "env BAMF_DESKTOP_FILE_HINT=/var/lib/snapd/desktop/applications/sheet.desktop "
                                    "/snap/bin/sheet %U"
                                 << QStringList{"env",
                                                "BAMF_DESKTOP_FILE_HINT=/var/lib/snapd/desktop/applications/sheet.desktop",
                                                "/snap/bin/sheet", "{file}"};
    QTest::newRow("%f in a word") << "sheet --open=%f" << QStringList{"sheet", "--open={file}"};
    QTest::newRow("%u") << "sheet %u" << QStringList{"sheet", "{file}"};
    QTest::newRow("%F") << "sheet %F" << QStringList{"sheet", "{file}"};
    QTest::newRow("no file code") << "sheet --calc" << QStringList{"sheet", "--calc", "{file}"};
    QTest::newRow("%%") << "sheet --zoom=100%% %f" << QStringList{"sheet", "--zoom=100%", "{file}"};
    QTest::newRow("%i %c %k") << "sheet %i --title %c --entry %k %f"
                              << QStringList{"sheet", "--icon", "sheet-icon", "--title", "Sheet Calc", "--entry",
                                             "/x/sheet.desktop", "{file}"};
    QTest::newRow("deprecated codes dropped") << "sheet %d %D %n %N %v %m %f" << QStringList{"sheet", "{file}"};
    QTest::newRow("extra spaces and tabs") << "  sheet \t --calc   %f  " << QStringList{"sheet", "--calc", "{file}"};
    QTest::newRow("quoted escapes") << R"(sheet "a \\"b\\" \\$HOME \\\\ \\`x\\`" %f)"
                                    << QStringList{"sheet", R"(a "b" $HOME \ `x`)", "{file}"};
    QTest::newRow("quote escaped once") << R"(sheet "say \"hi\"" %f)" << QStringList{"sheet", R"(say "hi")", "{file}"};
    QTest::newRow("empty quoted word kept") << R"(sheet "" %f)" << QStringList{"sheet", "", "{file}"};
    // Inside quotes a code is left alone, so the file never enters a shell text.
    QTest::newRow("code inside quotes") << R"(sh -c "sheet %f")" << QStringList{"sh", "-c", "sheet %f", "{file}"};
    QTest::newRow("unknown code") << "sheet %x" << QStringList{};
    QTest::newRow("lone % at the end") << "sheet %" << QStringList{};
    QTest::newRow("open quote") << R"("/opt/sheet %f)" << QStringList{};
    QTest::newRow("= in the program") << "VAR=1 sheet %f" << QStringList{};
    QTest::newRow("blank") << "   " << QStringList{};
}

void QtPlatformTest::execLine() {
    QFETCH(QString, exec);
    QFETCH(QStringList, command);
    const QString file = QStringLiteral("/home/ana/Run 1.CSV");
    const QString entry = "[Desktop Entry]\nName=Sheet Calc\nIcon=sheet-icon\nExec=" + exec + "\n";
    QCOMPARE(ui::DesktopEntryCommand(entry, QStringLiteral("/x/sheet.desktop"), file),
             command.isEmpty() ? QStringList{} : WithFile(command, file));
}

// What the launcher's messages name when a program cannot start.
void QtPlatformTest::startErrors_data() {
    QTest::addColumn<QString>("program");  // "@" stands for the temporary folder
    QTest::addColumn<QString>("folder");
    QTest::addColumn<int>("code");
    QTest::newRow("working folder missing") << "/bin/sh" << "@/no such folder" << 267;
    QTest::newRow("path missing") << "@/no such folder/prog" << "@" << 3;
    QTest::newRow("file missing") << "@/prog" << "@" << 2;
    QTest::newRow("not on the search path") << "qnr-no-such-program" << "@" << 2;
    QTest::newRow("not executable") << "@/plain.txt" << "@" << 5;
    QTest::newRow("a folder") << "@" << "@" << 5;
    QTest::newRow("no program inside") << "@/garbage" << "@" << 11;
}

void QtPlatformTest::startErrors() {
    QFETCH(QString, program);
    QFETCH(QString, folder);
    QFETCH(int, code);
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    QFile plain(tmp.filePath(QStringLiteral("plain.txt")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.write("text\n");
    plain.close();
    QFile garbage(tmp.filePath(QStringLiteral("garbage")));
    QVERIFY(garbage.open(QIODevice::WriteOnly));
    garbage.write("\x01\x02\x03 not a program\n");
    garbage.close();
    QVERIFY(garbage.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    program.replace(QLatin1Char('@'), tmp.path());
    folder.replace(QLatin1Char('@'), tmp.path());

    ui::QtProcesses processes;
    int error = -1;
    auto process = processes.start(program.toStdString(), {}, folder.toStdString(), error);
    QVERIFY(!process);
    QCOMPARE(error, code);
}

void QtPlatformTest::startPassesArgumentsWhole() {
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    ui::QtProcesses processes;
    int error = -1;
    // The program sees each argument as one word, spaces and all, and starts
    // in the working folder.
    auto process = processes.start("/bin/sh", {"-c", "printf '%s|' \"$@\" > out.txt", "sh", "a b.csv", "c"},
                                   tmp.path().toStdString() + "/", error);
    QVERIFY(process);
    QCOMPARE(error, 0);
    QElapsedTimer limit;
    limit.start();
    while (process->running() && limit.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    QVERIFY(!process->running());
    QCOMPARE(process->exitCode(), 0);
    QFile out(tmp.filePath(QStringLiteral("out.txt")));
    QVERIFY(out.open(QIODevice::ReadOnly));
    QCOMPARE(out.readAll(), QByteArray("a b.csv|c|"));
}

void QtPlatformTest::endsWithin() {
    ui::QtProcesses processes;
    int error = -1;
    auto ending = processes.start("/bin/sh", {"-c", "exit 3"}, "", error);
    QVERIFY(ending);
    QVERIFY(ending->endsWithin(10000));  // returns as soon as it has ended
    QCOMPARE(ending->exitCode(), 3);
    QVERIFY(ending->endsWithin(0));
    // Still waiting for its input: not ended, and a zero wait returns at once.
    auto waiting = processes.start("/bin/sh", {"-c", "read line"}, "", error);
    QVERIFY(waiting);
    QVERIFY(!waiting->endsWithin(0));
    QVERIFY(waiting->running());
    QCOMPARE(waiting->exitCode(), platform::StillActive);
}

void QtPlatformTest::associationErrors_data() {
    QTest::addColumn<QString>("folder");  // "@" stands for the temporary folder
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("code");
    QTest::newRow("no file chosen") << "" << "" << 2;
    QTest::newRow("folder missing") << "@/gone/" << "a.csv" << 3;
    QTest::newRow("file missing") << "@/" << "gone.csv" << 2;
}

void QtPlatformTest::associationErrors() {
    QFETCH(QString, folder);
    QFETCH(QString, file);
    QFETCH(int, code);
    QTemporaryDir tmp;
    folder.replace(QLatin1Char('@'), tmp.path());
    ui::QtProcesses processes;
    const platform::Association found = processes.associatedProgram(folder.toStdString(), file.toStdString());
    QCOMPARE(found.code, code);
    QVERIFY(found.program.empty());
}

namespace {

// Sets an environment variable for one test and restores it afterwards.
class EnvironmentValue {
public:
    EnvironmentValue(const char* name, const QByteArray& value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
        qputenv(name, value);
    }
    ~EnvironmentValue() {
        if (had_) qputenv(name_, old_);
        else qunsetenv(name_);
    }

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

void WriteFile(const QString& path, const QByteArray& text, bool executable = false) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
    f.close();
    if (executable) QVERIFY(f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

}  // namespace

// The file type's desktop entry starts its program through a launcher: the
// launcher gets its own words, and the spreadsheet behind it the file.
void QtPlatformTest::associationRunsTheWholeExecLine() {
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QString root = tmp.path();
    WriteFile(root + "/bin/xdg-mime",
              "#!/bin/sh\ncase \"$2\" in filetype) echo text/csv;; default) echo qnr-sheet.desktop;; esac\n", true);
    WriteFile(root + "/bin/sheet", "#!/bin/sh\nprintf '%s|' \"$QNR_SHEET\" \"$@\" > \"$(dirname \"$0\")/../out.txt\"\n",
              true);
    WriteFile(root + "/share/applications/qnr-sheet.desktop",
              "[Desktop Entry]\nType=Application\nName=Sheet\nExec=env QNR_SHEET=calc \"" + root.toUtf8() +
                  "/bin/sheet\" --calc %U\n");
    WriteFile(root + "/data/Run 1.csv", "1,2\n");
    EnvironmentValue path("PATH", root.toUtf8() + "/bin:" + qgetenv("PATH"));
    EnvironmentValue dataHome("XDG_DATA_HOME", root.toUtf8() + "/share");

    ui::QtProcesses processes;
    const std::string folder = root.toStdString() + "/data/";
    const platform::Association found = processes.associatedProgram(folder, "Run 1.csv");
    QCOMPARE(found.code, platform::AssociationFound);
    QCOMPARE(QString::fromStdString(found.program), QStandardPaths::findExecutable(QStringLiteral("env")));
    QCOMPARE(found.arguments, (std::vector<std::string>{"QNR_SHEET=calc", root.toStdString() + "/bin/sheet",
                                                        "--calc", folder + "Run 1.csv"}));

    int error = -1;
    auto process = processes.start(found.program, found.arguments, folder, error);
    QVERIFY(process);
    QElapsedTimer limit;
    limit.start();
    while (process->running() && limit.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    QCOMPARE(process->exitCode(), 0);
    QFile out(root + "/out.txt");
    QVERIFY(out.open(QIODevice::ReadOnly));
    QCOMPARE(out.readAll(), "calc|--calc|" + QByteArray::fromStdString(folder) + "Run 1.csv|");
}

void QtPlatformTest::silentSound() {
    ui::QtSound sound;
    if (sound.available()) QSKIP("an audio output exists; silent mode not reachable here");
    int ends = 0;
    sound.playFile("/nonexistent/gardoor.wav", [&] { ++ends; });
    QCOMPARE(ends, 0);  // the notice comes from the event loop, not from inside playFile
    QCoreApplication::processEvents();
    QCOMPARE(ends, 1);

    // A stopped sound and one cut off by the next file drop their notices.
    sound.playFile("/nonexistent/a.wav", [&] { ends += 10; });
    sound.stop();
    sound.playFile("/nonexistent/b.wav", [&] { ends += 100; });
    sound.playFile("/nonexistent/c.wav", [&] { ends += 1000; });
    QCoreApplication::processEvents();
    QCOMPARE(ends, 1001);
}

QTEST_MAIN(QtPlatformTest)
#include "QtPlatformTest.moc"

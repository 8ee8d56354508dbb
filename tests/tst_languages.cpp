#include "core/InterfaceLanguage.h"
#include "core/TrainingMode.h"
#include "core/mdlUser.h"
#include "dialogs/frmAbout.h"
#include "dialogs/frmOpt.h"
#include "dialogs/frmRecords.h"
#include "main/frmMain.h"
#include "platform/ClickLabel.h"
#include "platform/Twips.h"
#include "platform/Translation.h"
#include "support/Fakes.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGraphicsSimpleTextItem>
#include <QGraphicsTextItem>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStatusBar>
#include <QStyleOption>
#include <QScrollBar>
#include <QTableView>
#include <QTranslator>
#include <QValueAxis>
#include <QXmlStreamReader>
#include <QtTest>

#include <map>

namespace {

const QString Pseudo = QStringLiteral("pseudo");

// Texts about 40 % longer than the English, in accented letters and brackets, so that a text cut short or
// left untranslated shows. Made from the English .ts file; placeholders stay as they are.
class PseudoTranslator final : public QTranslator
{
public:
    PseudoTranslator()
    {
        QFile file(QStringLiteral(IVOK2_SOURCE_DIR "/translations/ivok2_en.ts"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        QString context;
        QString source;
        QStringList forms;
        while (!xml.atEnd()) {
            xml.readNext();
            if (!xml.isStartElement())
                continue;
            if (xml.name() == QLatin1String("name"))
                context = xml.readElementText();
            else if (xml.name() == QLatin1String("source"))
                source = xml.readElementText();
            else if (xml.name() == QLatin1String("translation") || xml.name() == QLatin1String("numerusform")) {
                const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
                if (!text.trimmed().isEmpty())
                    m_texts[{context, source}].append(longer(text));
            }
        }
        QVERIFY(m_texts.size() > 50);
    }

    bool isEmpty() const override { return false; }

    QString translate(const char *context, const char *source, const char *, int n) const override
    {
        const auto found = m_texts.find({QString::fromUtf8(context), QString::fromUtf8(source)});
        if (found == m_texts.end())
            return {};
        return found->second.value(n == 1 ? 0 : found->second.size() - 1);
    }

private:
    static QString longer(const QString &text)
    {
        static const QString plain = QStringLiteral("aceilnorsuyACEILNORSUY");
        static const QString accented = QStringLiteral("àĉéîļñöŕšûýÀĈÉÎĻÑÖŔŠÛÝ");
        QString out;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text[i];
            // %1, %n and the like stay readable to QString::arg.
            if (c == QLatin1Char('%') && i + 1 < text.size()) {
                out += c;
                out += text[++i];
                continue;
            }
            const auto at = plain.indexOf(c);
            out += at < 0 ? c : accented[at];
        }
        const auto lines = out.split(QLatin1Char('\n'));
        QStringList padded;
        for (const QString &line : lines)
            padded << (line.isEmpty() ? line : QLatin1Char('[') + line + QString(line.size() * 2 / 5, QChar(0xB7)) + QLatin1Char(']'));
        return padded.join(QLatin1Char('\n'));
    }

    std::map<std::pair<QString, QString>, QStringList> m_texts;
};

bool isKana(QChar c)
{
    const auto u = c.unicode();
    return (u >= 0x3040 && u <= 0x30FF) || (u >= 0xFF66 && u <= 0xFF9F);
}

bool isKanji(QChar c)
{
    const auto u = c.unicode();
    return (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0x3400 && u <= 0x4DBF);
}

// Chinese writes with kanji, though never with kana.
bool writesKanji(const QString &language)
{
    return language.startsWith(QLatin1String("zh"));
}

// The caption a control shows and the room it has for it, as the style lays it out.
std::pair<QString, int> captionAndRoom(const QWidget *widget)
{
    QStyle *style = widget->style();
    QStyleOptionButton button;
    button.initFrom(widget);
    if (auto *label = qobject_cast<const QLabel *>(widget))
        return {label->text(), label->contentsRect().width() - 2 * label->margin() - qMax(label->indent(), 0)};
    if (auto *check = qobject_cast<const QCheckBox *>(widget)) {
        button.text = check->text();
        return {button.text, style->subElementRect(QStyle::SE_CheckBoxContents, &button, widget).width()};
    }
    if (auto *push = qobject_cast<const QPushButton *>(widget)) {
        button.text = push->text();
        return {button.text, style->subElementRect(QStyle::SE_PushButtonContents, &button, widget).width()};
    }
    if (auto *frame = qobject_cast<const QGroupBox *>(widget)) {
        QStyleOptionGroupBox box;
        box.initFrom(widget);
        box.text = frame->title();
        box.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        const QRect title = style->subControlRect(QStyle::CC_GroupBox, &box, QStyle::SC_GroupBoxLabel, widget);
        return {box.text, widget->width() - title.left()};
    }
    return {};
}

// Every text a window shows: its title, captions, list items, menus, table headers and cells, the chart's words
// and the status bar.
QStringList textsOf(QWidget *window)
{
    QStringList texts{window->windowTitle()};
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        if (!widget->isVisibleTo(window))
            continue;
        texts << captionAndRoom(widget).first << widget->toolTip();
        // The languages are named each in its own.
        if (auto *list = qobject_cast<QComboBox *>(widget); list && list->objectName() != QLatin1String("cmbLanguage"))
            for (int i = 0; i < list->count(); ++i)
                texts << list->itemText(i);
        if (auto *table = qobject_cast<QTableView *>(widget)) {
            const QAbstractItemModel *model = table->model();
            for (int column = 0; column < model->columnCount(); ++column) {
                texts << model->headerData(column, Qt::Horizontal).toString();
                for (int row = 0; row < model->rowCount(); ++row)
                    texts << model->index(row, column).data().toString();
            }
        }
        if (auto *view = qobject_cast<QChartView *>(widget)) {
            texts << view->chart()->title();
            for (QAbstractSeries *series : view->chart()->series())
                texts << series->name();
            for (QAbstractAxis *axis : view->chart()->axes()) {
                texts << axis->titleText();
                if (auto *category = qobject_cast<QCategoryAxis *>(axis))
                    texts << category->categoriesLabels();
            }
        }
    }
    if (auto *main = qobject_cast<QMainWindow *>(window)) {
        for (QAction *action : main->menuBar()->actions())
            texts << action->text();
    }
    texts.removeAll(QString());
    return texts;
}

// Fails on a text left in another language and on a caption that does not show whole or leaves its window.
void checkWindow(QWidget *window, const QString &language)
{
    QVERIFY(QTest::qWaitForWindowExposed(window));
    for (const QString &text : textsOf(window)) {
        const bool foreign = writesKanji(language) ? std::any_of(text.begin(), text.end(), isKana)
                                                                 : std::any_of(text.begin(), text.end(), [](QChar c) {
                                                                       return isKana(c) || isKanji(c);
                                                                   });
        QVERIFY2(!foreign, qPrintable(QStringLiteral("%1: \"%2\" is not in %3").arg(window->objectName(), text, language)));
    }
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        const auto [caption, room] = captionAndRoom(widget);
        if (caption.isEmpty() || !widget->isVisibleTo(window))
            continue;
        // A wrapping label needs the height of its lines instead.
        if (auto *label = qobject_cast<QLabel *>(widget); label && label->wordWrap()) {
            QVERIFY2(label->heightForWidth(label->width()) <= label->height(),
                     qPrintable(QStringLiteral("%1 \"%2\": %3 px high in %4 px")
                                    .arg(widget->objectName(), caption)
                                    .arg(label->heightForWidth(label->width()))
                                    .arg(label->height())));
            continue;
        }
        int needed = 0;
        for (const QString &line : caption.split(QLatin1Char('\n')))
            needed = std::max(needed, widget->fontMetrics().horizontalAdvance(line));
        QVERIFY2(needed <= room, qPrintable(QStringLiteral("%1 \"%2\": %3 px in %4 px")
                                                .arg(widget->objectName(), caption)
                                                .arg(needed)
                                                .arg(room)));
        const QRect inParent(widget->mapTo(window, QPoint(0, 0)), widget->size());
        QVERIFY2(window->rect().contains(inParent),
                 qPrintable(QStringLiteral("%1 \"%2\" leaves its window").arg(widget->objectName(), caption)));
    }
    // A table's header whole in its section, a section inside the window (a table may scroll within itself).
    for (QTableView *table : window->findChildren<QTableView *>()) {
        const QHeaderView *header = table->horizontalHeader();
        for (int column = 0; column < header->count(); ++column) {
            const QString text = table->model()->headerData(column, Qt::Horizontal).toString();
            QVERIFY2(header->sectionSize(column) >= header->sectionSizeHint(column),
                     qPrintable(QStringLiteral("%1 \"%2\": %3 px of %4 px")
                                    .arg(table->objectName(), text)
                                    .arg(header->sectionSize(column))
                                    .arg(header->sectionSizeHint(column))));
        }
    }
    // The chart elides a word it has no room for (its titles, axes and legend); none may be cut at the edge.
    const bool roomy = window->frameGeometry().width() < window->screen()->availableGeometry().width();
    for (QChartView *view : window->findChildren<QChartView *>()) {
        const QRectF shown = view->mapToScene(view->viewport()->rect()).boundingRect();
        for (QGraphicsItem *item : view->scene()->items()) {
            QString text;
            if (auto *rich = dynamic_cast<QGraphicsTextItem *>(item))
                text = rich->toPlainText();
            else if (auto *simple = dynamic_cast<QGraphicsSimpleTextItem *>(item))
                text = simple->text();
            if (text.isEmpty() || !item->isVisible())
                continue;
            // Qt Charts elides with three dots; a window that the screen holds at its full size has room for all.
            QVERIFY2((!roomy || !text.endsWith(QLatin1String("..."))) && !text.contains(QChar(0x2026))
                         && shown.contains(item->sceneBoundingRect()),
                     qPrintable(QStringLiteral("%1: \"%2\" cut in a chart of %3×%4")
                                    .arg(window->objectName(), text)
                                    .arg(view->width())
                                    .arg(view->height())));
        }
    }
}

// The window, frame and all, inside the screen's free area.
void checkInsideScreen(const QWidget *window)
{
    const QRect screen = window->screen()->availableGeometry();
    QVERIFY2(screen.contains(window->frameGeometry()),
             qPrintable(QStringLiteral("%1 at %2,%3 %4×%5 leaves the screen of %6×%7")
                            .arg(window->objectName())
                            .arg(window->frameGeometry().x())
                            .arg(window->frameGeometry().y())
                            .arg(window->frameGeometry().width())
                            .arg(window->frameGeometry().height())
                            .arg(screen.width())
                            .arg(screen.height())));
}

} // namespace

class tst_Languages : public QObject
{
    Q_OBJECT

private slots:
    void chosenLanguage_data();
    void chosenLanguage();
    void eachTranslationIsALanguage_data();
    void eachTranslationIsALanguage();
    void everyWindowSpeaksIt_data();
    void everyWindowSpeaksIt();
    void changeReachesEveryOpenWindow();
    void japaneseKeepsTheDesign();
    void noJapaneseTextEscapesTheTranslations();
    void cleanup() { platform::applyLanguage(QStringLiteral("ja")); }
};

void tst_Languages::chosenLanguage_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QStringList>("desktop");
    QTest::addColumn<QString>("chosen");
    QTest::newRow("C locale") << "auto" << QStringList{"C"} << "ja";
    QTest::newRow("German desktop") << "auto" << QStringList{"de-DE", "de-Latn-DE", "de"} << "de";
    QTest::newRow("first spoken of several") << "auto" << QStringList{"fr-FR", "fr", "en-GB", "en"} << "en";
    QTest::newRow("simplified Chinese") << "auto" << QStringList{"zh-CN", "zh-Hans-CN", "zh"} << "zh_CN";
    QTest::newRow("traditional Chinese is not") << "auto" << QStringList{"zh-TW", "zh-Hant-TW"} << "ja";
    QTest::newRow("chosen over the desktop") << "en" << QStringList{"de-DE"} << "en";
    QTest::newRow("unknown setting") << "xx" << QStringList{"de-DE"} << "de";
}

void tst_Languages::chosenLanguage()
{
    QFETCH(QString, setting);
    QFETCH(QStringList, desktop);
    QTEST(platform::chosenLanguage(setting, desktop), "chosen");
}

// Every .ts file is built into a language of the list, named there in itself.
void tst_Languages::eachTranslationIsALanguage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("name");
    QTest::newRow("ja") << "ja" << "日本語";
    QTest::newRow("en") << "en" << "English";
    QTest::newRow("de") << "de" << "Deutsch";
    QTest::newRow("zh_CN") << "zh_CN" << "简体中文";
}

void tst_Languages::eachTranslationIsALanguage()
{
    QFETCH(QString, language);
    QStringList files = QDir(QStringLiteral(IVOK2_SOURCE_DIR "/translations")).entryList({QStringLiteral("ivok2_*.ts")});
    files.replaceInStrings(QRegularExpression(QStringLiteral("^ivok2_(.*)\\.ts$")), QStringLiteral("\\1"));
    QCOMPARE(QSet<QString>(files.begin(), files.end()) << QStringLiteral("ja"),
             QSet<QString>(platform::interfaceLanguages().begin(), platform::interfaceLanguages().end()));
    QTEST(platform::languageName(language), "name");
}

void tst_Languages::everyWindowSpeaksIt_data()
{
    QTest::addColumn<QString>("language");
    const QStringList languages = platform::interfaceLanguages().mid(1) << Pseudo;
    for (const QString &language : languages)
        QTest::newRow(qPrintable(language)) << language;
}

void tst_Languages::everyWindowSpeaksIt()
{
    QFETCH(QString, language);
    TestEnvironment env;
    PseudoTranslator pseudo;
    // Kept as the player's choice too, which confirming the options dialog applies again.
    const QString spoken = language == Pseudo ? QStringLiteral("en") : language;
    QVERIFY(SaveInterfaceLanguage(TrainingFilePath(), spoken));
    QVERIFY(platform::applyLanguage(spoken));
    if (language == Pseudo)
        QCoreApplication::installTranslator(&pseudo);
    const QString script = language == Pseudo ? QStringLiteral("en") : language;

    frmMain window;
    window.setWindowState(Qt::WindowNoState);
    // As large as the screen has room for, frame and all.
    window.resize(QSize(900, 600).boundedTo(window.screen()->availableGeometry().size() - QSize(8, 32)));
    window.show();
    checkWindow(&window, script);
    auto *start = window.findChild<QPushButton *>("cmdStart");
    // A hit, shown in a message, and a give-up, which shows the answer.
    QTest::mouseClick(start, Qt::LeftButton);
    env.clock.steady += 12;
    QTRY_VERIFY(!window.findChild<QLabel *>("lblAns")->text().isEmpty());
    checkWindow(&window, script);
    QTest::mouseClick(window.findChild<ClickLabel *>(QStringLiteral("lblKey(%1)").arg(window.CurrentQuiz().AnsNo)),
                      Qt::LeftButton);
    QTest::mouseClick(start, Qt::LeftButton);
    QTest::mouseClick(start, Qt::LeftButton);
    checkWindow(&window, script);

    {
        frmAbout about(&window);
        about.show();
        checkWindow(&about, script);
    }
    {
        // A settings file that cannot be written: its message too.
        QVERIFY(QDir(env.directory()).mkdir(QStringLiteral("ivok2.ini")));
        frmOpt options(&window);
        options.show();
        checkWindow(&options, script);
        options.findChild<QPushButton *>("cmdOk")->click();
    }
    QCOMPARE(env.messages.shown.size(), 2);
    window.findChild<QAction *>("mnuRecords")->trigger();
    auto *records = window.findChild<frmRecords *>();
    QTRY_COMPARE(records->findChild<QTableView *>("grdToday")->model()->rowCount(), 2);
    QTRY_VERIFY2(records->findChild<QLabel *>("lblStatus")->text().isEmpty(),
                 qPrintable(records->findChild<QLabel *>("lblStatus")->text()));
    checkWindow(records, script);
    checkInsideScreen(records);
    // Where the screen has room for them, the tables show every column without scrolling.
    if (records->frameGeometry().width() < records->screen()->availableGeometry().width()) {
        for (QTableView *table : records->findChildren<QTableView *>())
            QVERIFY2(!table->horizontalScrollBar()->isVisible(),
                     qPrintable(QStringLiteral("%1 scrolls: %2 px of %3").arg(table->objectName()).arg(table->viewport()->width()).arg(table->horizontalHeader()->length())));
    }

    // A history from a newer version, in training: the start waits for the level, the title says why the level
    // starts afresh, and the records window why it shows nothing.
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("newer"));
        other.setDatabaseName(env.historyPath());
        QVERIFY(other.open());
        QVERIFY(QSqlQuery(other).exec(QStringLiteral("PRAGMA user_version = 99")));
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("newer"));
    QVERIFY(SaveTrainingMode(TrainingFilePath(), true));
    {
        frmMain trainee;
        trainee.setWindowState(Qt::WindowNoState);
        trainee.show();
        // Before the level's answer has come.
        QTest::mouseClick(trainee.findChild<QPushButton *>("cmdStart"), Qt::LeftButton);
        QCOMPARE(trainee.findChild<QPushButton *>("cmdStart")->text(), QCoreApplication::translate("frmMain", "準備中…"));
        checkWindow(&trainee, script);
        QTRY_VERIFY(trainee.CurrentQuiz().itemCount() > 0);
        QVERIFY2(trainee.windowTitle().endsWith(
                     QCoreApplication::translate("frmMain", "（新しい版の記録は読めないため、今回のゲームから）")),
                 qPrintable(trainee.windowTitle()));
        checkWindow(&trainee, script);
        trainee.findChild<QAction *>("mnuRecords")->trigger();
        auto *refused = trainee.findChild<frmRecords *>();
        // The reason alone, once the reading is over.
        const QLabel *status = refused->findChild<QLabel *>("lblStatus");
        QTRY_VERIFY(status->text().contains(env.historyPath()) && !status->text().contains(QLatin1Char('\n')));
        checkWindow(refused, script);
    }
    QVERIFY(SaveTrainingMode(TrainingFilePath(), false));
    TrainingMode = false;
    for (const QString &message : env.messages.shown) {
        QVERIFY2(std::none_of(message.begin(), message.end(), isKana), qPrintable(message));
        if (!writesKanji(script))
            QVERIFY2(std::none_of(message.begin(), message.end(), isKanji), qPrintable(message));
    }
    if (language == Pseudo)
        QCoreApplication::removeTranslator(&pseudo);
}

void tst_Languages::changeReachesEveryOpenWindow()
{
    TestEnvironment env;
    frmMain window;
    window.show();
    window.findChild<QAction *>("mnuRecords")->trigger();
    auto *records = window.findChild<frmRecords *>();
    QVERIFY(QTest::qWaitForWindowExposed(records));
    QCOMPARE(records->windowTitle(), QStringLiteral("Ivok２の記録"));

    QTimer poll;
    connect(&poll, &QTimer::timeout, [&] {
        auto *dialog = qobject_cast<frmOpt *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        poll.stop();
        auto *list = dialog->findChild<QComboBox *>("cmbLanguage");
        list->setCurrentIndex(list->findData(QStringLiteral("de")));
        dialog->findChild<QPushButton *>("cmdOk")->click();
    });
    poll.start(10);
    window.findChild<QAction *>("mnuOpt")->trigger();

    // Qt posts the change to every window.
    QTRY_COMPARE(window.findChild<QAction *>("mnuOpt")->text(), QStringLiteral("Einstellungen"));
    QCOMPARE(records->windowTitle(), QStringLiteral("Ivok２ – Statistik"));
    QCOMPARE(records->findChild<QTableView *>("grdKinds")->model()->headerData(1, Qt::Horizontal).toString(),
             QStringLiteral("Spiele"));
    QCOMPARE(LoadInterfaceLanguage(TrainingFilePath()), QStringLiteral("de"));
}

// In Japanese every control of the options dialog and of the main window's header stays where the design puts
// it, and the dialog keeps its size.
void tst_Languages::japaneseKeepsTheDesign()
{
    TestEnvironment env;
    frmMain window;
    frmOpt options(&window);
    QCOMPARE(options.size(), QSize(334, 400));
    const std::pair<const char *, QRect> places[] = {
        {"cmbViewTime", platform::twipsRect(2280, 360, 855, 300)}, {"cmdOk", platform::twipsRect(3720, 360, 1095, 375)},
        {"cmbPreset", platform::twipsRect(3360, 2700, 1455, 300)}, {"chkAuto", platform::twipsRect(240, 5160, 4575, 255)},
        {"cmbLanguage", platform::twipsRect(2280, 5580, 1455, 300)}};
    for (const auto &[name, place] : places)
        QVERIFY2(options.findChild<QWidget *>(name)->geometry() == place, name);
    int compared = 0;
    // The dialog is the window's child: one search finds both.
    for (QWidget *widget : window.findChildren<QWidget *>()) {
        const QVariant design = widget->property("ivok2DesignGeometry");
        if (!design.isValid())
            continue;
        QVERIFY2(widget->geometry() == design.toRect(), qPrintable(widget->objectName()));
        ++compared;
    }
    QCOMPARE(compared, 7); // the status box, the button and the score board
}

// A text the code hands to tr() or translate() in a form lupdate cannot read (a cast in the call, a macro) would
// stay Japanese in every language: every Japanese literal of such a call is a source of every .ts file.
void tst_Languages::noJapaneseTextEscapesTheTranslations()
{
    const QDir root(QStringLiteral(IVOK2_SOURCE_DIR));
    std::map<QString, QSet<QString>> sourcesOf;
    for (const QString &ts : QDir(root.filePath(QStringLiteral("translations"))).entryList({QStringLiteral("ivok2_*.ts")})) {
        QFile file(root.filePath(QStringLiteral("translations/") + ts));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("source"))
                sourcesOf[ts].insert(xml.readElementText());
        }
    }
    QCOMPARE(sourcesOf.size(), size_t(3));
    const QRegularExpression call(QStringLiteral("\\b(tr|translate|QT_TR_NOOP|QT_TRANSLATE_NOOP|QT_TR_N_NOOP|QT_TRANSLATE_N_NOOP)\\s*\\("));
    // Adjacent literals are one text; the escapes a text of the interface uses.
    const QRegularExpression literals(QStringLiteral("\"((?:[^\"\\\\]|\\\\.)*)\"(?:\\s*\"((?:[^\"\\\\]|\\\\.)*)\")*"));
    const QRegularExpression literal(QStringLiteral("\"((?:[^\"\\\\]|\\\\.)*)\""));
    int checked = 0;
    for (const char *folder : {"core", "quiz", "main", "dialogs", "records", "platform"}) {
        QDirIterator files(root.filePath(QLatin1String(folder)), {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files);
        while (files.hasNext()) {
            QFile file(files.next());
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString code = QString::fromUtf8(file.readAll());
            for (auto found = call.globalMatch(code); found.hasNext();) {
                // The call's arguments, to its closing parenthesis (literals skipped whole).
                const qsizetype start = found.next().capturedEnd();
                qsizetype end = start;
                for (int depth = 1; end < code.size() && depth > 0; ++end) {
                    if (code[end] == QLatin1Char('"'))
                        end = literal.match(code, end).capturedEnd() - 1;
                    else if (code[end] == QLatin1Char('('))
                        ++depth;
                    else if (code[end] == QLatin1Char(')'))
                        --depth;
                }
                const QString arguments = code.mid(start, end - start);
                for (auto run = literals.globalMatch(arguments); run.hasNext();) {
                    QString text;
                    for (auto part = literal.globalMatch(run.next().captured()); part.hasNext();)
                        text += part.next().captured(1);
                    text.replace(QLatin1String("\\n"), QLatin1String("\n")).replace(QLatin1String("\\\""), QLatin1String("\""));
                    if (std::none_of(text.begin(), text.end(), [](QChar c) { return isKana(c) || isKanji(c); }))
                        continue;
                    ++checked;
                    for (const auto &[ts, sources] : sourcesOf)
                        QVERIFY2(sources.contains(text), qPrintable(QStringLiteral("%1: \"%2\" is not in %3").arg(file.fileName(), text, ts)));
                }
            }
        }
    }
    QVERIFY(checked > 50);
}

QTEST_MAIN(tst_Languages)
#include "tst_languages.moc"

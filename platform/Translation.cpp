#include "platform/Translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace platform {

namespace {

const QString Japanese = QStringLiteral("ja");
// Each .ts file translates it into its own language's name, which the options dialog lists.
//: This language's name in itself, as a player looks for it in a list: English, Deutsch, 简体中文.
const char *const OwnName = QT_TRANSLATE_NOOP("LanguageName", "日本語");

struct Installed
{
    QString language = Japanese;
    QTranslator *game = nullptr;
    QTranslator *qt = nullptr;
};

Installed &installed()
{
    static Installed state;
    return state;
}

void remove(QTranslator *&translator)
{
    if (!translator)
        return;
    QCoreApplication::removeTranslator(translator);
    delete translator;
    translator = nullptr;
}

// Loads file from directory into a new translator owned by the application; null when there is no such file.
QTranslator *loaded(const QString &file, const QString &directory)
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(file, directory))
        return translator;
    delete translator;
    return nullptr;
}

// The game's language for one of the desktop's ("de-DE", "zh-Hans-CN", "C"), or an empty text.
QString spokenFor(QString desktop)
{
    desktop.replace(QLatin1Char('-'), QLatin1Char('_'));
    const QStringList parts = desktop.split(QLatin1Char('_'));
    const QString language = parts.first().toLower();
    if (language == QLatin1String("zh")) {
        // Simplified Chinese only: Taiwan, Hong Kong and Macao write the traditional characters.
        const bool traditional = parts.contains(QLatin1String("Hant")) || parts.contains(QLatin1String("TW"))
                                 || parts.contains(QLatin1String("HK")) || parts.contains(QLatin1String("MO"));
        const QString simplified = QStringLiteral("zh_CN");
        return !traditional && interfaceLanguages().contains(simplified) ? simplified : QString();
    }
    // The language of the desktop's region where the game has it ("pt_BR"), else the language alone.
    const QString regional = language + QLatin1Char('_') + parts.last();
    if (parts.size() > 1 && interfaceLanguages().contains(regional))
        return regional;
    return interfaceLanguages().contains(language) ? language : QString();
}

} // namespace

const QStringList &interfaceLanguages()
{
    // Those the build made a translation of, from the names of the .ts files.
    static const QStringList languages =
        QStringList{Japanese} + QString::fromLatin1(IVOK2_LANGUAGES).split(QLatin1Char(','), Qt::SkipEmptyParts);
    return languages;
}

QString languageName(const QString &language)
{
    if (language == Japanese)
        return QString::fromUtf8(OwnName);
    QTranslator translator;
    const QString name = translator.load(QStringLiteral("ivok2_") + language, QStringLiteral(":/i18n"))
                             ? translator.translate("LanguageName", OwnName)
                             : QString();
    return name.isEmpty() ? language : name;
}

QString chosenLanguage(const QString &setting, const QStringList &desktopLanguages)
{
    if (interfaceLanguages().contains(setting))
        return setting;
    for (const QString &desktop : desktopLanguages) {
        const QString spoken = spokenFor(desktop);
        if (!spoken.isEmpty())
            return spoken;
    }
    return Japanese;
}

bool applyLanguage(const QString &language)
{
    Installed &state = installed();
    remove(state.game);
    remove(state.qt);
    state.language = interfaceLanguages().contains(language) ? language : Japanese;
    bool complete = true;
    // Japanese is what the texts are written in: it needs no translation of the game's.
    if (state.language != Japanese) {
        state.game = loaded(QStringLiteral("ivok2_") + state.language, QStringLiteral(":/i18n"));
        complete = state.game && QCoreApplication::installTranslator(state.game);
    }
    state.qt = loaded(QStringLiteral("qtbase_") + state.language, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    // Qt's English is its own texts: that file is empty, and an empty translator is not installed.
    complete = state.qt && (state.qt->isEmpty() || QCoreApplication::installTranslator(state.qt)) && complete;
    return complete;
}

QString currentLanguage()
{
    return installed().language;
}

QLocale displayLocale()
{
    const QString language = currentLanguage();
    if (language == Japanese)
        return QLocale::c();
    QLocale locale(language);
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

namespace {

bool japanese()
{
    return currentLanguage() == Japanese;
}

// The language's time format to the second, without the time zone its long form adds.
QString secondsFormat(const QLocale &locale)
{
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return format.trimmed();
}

} // namespace

QString shownTime(const QTime &time)
{
    if (japanese())
        return time.toString(QStringLiteral("hh:mm:ss"));
    const QLocale locale = displayLocale();
    return locale.toString(time, secondsFormat(locale));
}

QString shownDate(const QDate &date)
{
    if (japanese())
        return date.toString(QStringLiteral("yyyy/MM/dd"));
    return displayLocale().toString(date, QLocale::ShortFormat);
}

QString shownMinute(const QDateTime &moment)
{
    if (japanese())
        return moment.toString(QStringLiteral("yyyy/MM/dd hh:mm"));
    const QLocale locale = displayLocale();
    return shownDate(moment.date()) + QLatin1Char(' ') + locale.toString(moment.time(), QLocale::ShortFormat);
}

QString shownMoment(const QDateTime &moment)
{
    return shownDate(moment.date()) + QLatin1Char(' ') + shownTime(moment.time());
}

} // namespace platform

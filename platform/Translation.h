#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>

namespace platform {

// The languages the interface speaks, as kept in ivok2.conf; Japanese, the language the texts are written in,
// first.
const QStringList &interfaceLanguages();

// A language's name in that language ("Deutsch"), for a player who cannot read the current one; the code
// ("de") when its translation lacks the name.
QString languageName(const QString &language);

// The language for a setting: the setting itself where the game speaks it; otherwise ("auto") the first of the
// desktop's languages (QLocale::uiLanguages() form, "de-DE", "zh-Hans-CN") that it speaks, Japanese when none.
QString chosenLanguage(const QString &setting, const QStringList &desktopLanguages);

// Puts the game's texts and Qt's own (the file dialog's buttons and the like) into language, at once in every
// window: each widget gets a LanguageChange event. False when a translation is missing; the texts without one
// stay in the source language (the game's) or in English (Qt's).
bool applyLanguage(const QString &language);

// The language last applied; Japanese before any.
QString currentLanguage();

// How numbers, dates and times read in the current language. In Japanese the forms stay the plain ones the
// game has always shown (no group separators, ISO-like dates), so it is the C locale there.
QLocale displayLocale();

// A time of day with its seconds, a date, a date with the time to the minute, and to the second, as the current
// language writes them (Japanese: 13:05:09, 2026/03/01, 2026/03/01 13:05, 2026/03/01 13:05:09).
QString shownTime(const QTime &time);
QString shownDate(const QDate &date);
QString shownMinute(const QDateTime &moment);
QString shownMoment(const QDateTime &moment);

} // namespace platform

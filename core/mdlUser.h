#pragma once

#include "core/Limits.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <array>
#include <span>

namespace platform {
class RandomSource;
}

// The settings record; its byte image is the settings file.
struct OptRecord
{
    double ViewTime = 0;
    double BlankTime = 0;
    qint16 StringLen = 0;
    qint16 KigouNum = 0;
    KoumokuFlags Koumoku{};
    ColorTable Color{};

    bool operator==(const OptRecord &) const = default;
};

inline constexpr qsizetype OptRecSize = 68;
// The file is the fields one after another, with no gaps, whatever the compiler pads in memory.
static_assert(sizeof(OptRecord::ViewTime) + sizeof(OptRecord::BlankTime) + sizeof(OptRecord::StringLen)
                  + sizeof(OptRecord::KigouNum) + sizeof(OptRecord::Koumoku) + sizeof(OptRecord::Color)
              == OptRecSize);

inline constexpr qint16 True16 = -1;
inline constexpr qint16 False16 = 0;
inline constexpr double DefaultViewTime = 3.0;
inline constexpr double DefaultBlankTime = 0.3;

extern OptRecord OptRec;
// The symbols and their look-alikes are fixed; only the colours change while the program runs.
extern const std::array<QString, KigouListSize> KigouList;
extern ColorTable ColorList;
extern const SimilarTable SimilarList;
extern std::array<double, SCListSize> SCList;

// Little-endian, field by field, independent of the compiler's struct layout.
QByteArray optToBytes(const OptRecord &record);
// Lays bytes over the image of base: a short block leaves the rest of base as it was, and a colour
// that the block holds only in part is kept whole from base.
OptRecord optFromBytes(const QByteArray &bytes, const OptRecord &base);

void SetOptDefaults(OptRecord &record);
// Decides, once at start-up, where the settings live for the rest of the run; returns the file to load.
QString ChooseOptFile();
// The file every save writes; decided by ChooseOptFile, or on first use.
QString SettingsFilePath();
bool LoadOpt(const QString &path);
bool SaveOpt(const QString &path);

// OptRec keeps what the file held; everything that acts on a ranged field reads it through these.
int UsableKigouNum(const OptRecord &record = OptRec);
double UsableViewTime(const OptRecord &record = OptRec);
double UsableBlankTime(const OptRecord &record = OptRec);

// Puts the built-in colours into ColorList.
void InitList();
void SetColor();

void InitSC();
void AddSC(float time);

// Reseeds the generator from the time of day, then picks one of the first count entries.
qint16 RndSel(platform::RandomSource &random, std::span<const qint16> list, int count);

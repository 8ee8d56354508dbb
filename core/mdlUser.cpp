#include "core/mdlUser.h"

#include "core/ColourPresets.h"
#include "core/SettingsLocation.h"
#include "platform/Files.h"
#include "platform/Random.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <optional>

OptRecord OptRec;
ColorTable ColorList{};
std::array<double, SCListSize> SCList{};

namespace {

// The colours are the last field of the file.
constexpr qsizetype ColorSize = sizeof(ColorTable::value_type);
constexpr qsizetype ColorOffset = OptRecSize - qsizetype(sizeof(OptRecord::Color));

template<typename T>
void put(QByteArray &bytes, qsizetype &offset, T value)
{
    qToLittleEndian(value, bytes.data() + offset);
    offset += sizeof(T);
}

template<typename T>
T take(const QByteArray &bytes, qsizetype &offset)
{
    const T value = qFromLittleEndian<T>(bytes.constData() + offset);
    offset += sizeof(T);
    return value;
}

double finiteOr(double value, double fallback)
{
    return std::isfinite(value) ? value : fallback;
}

} // namespace

QByteArray optToBytes(const OptRecord &record)
{
    QByteArray bytes(OptRecSize, '\0');
    qsizetype offset = 0;
    put(bytes, offset, record.ViewTime);
    put(bytes, offset, record.BlankTime);
    put(bytes, offset, record.StringLen);
    put(bytes, offset, record.KigouNum);
    for (qint16 flag : record.Koumoku)
        put(bytes, offset, flag);
    for (qint32 color : record.Color)
        put(bytes, offset, color);
    return bytes;
}

OptRecord optFromBytes(const QByteArray &bytes, const OptRecord &base)
{
    QByteArray image = optToBytes(base);
    qsizetype used = std::min(bytes.size(), OptRecSize);
    if (used > ColorOffset)
        used -= (used - ColorOffset) % ColorSize;
    std::memcpy(image.data(), bytes.constData(), static_cast<size_t>(used));

    OptRecord record;
    qsizetype offset = 0;
    record.ViewTime = take<double>(image, offset);
    record.BlankTime = take<double>(image, offset);
    record.StringLen = take<qint16>(image, offset);
    record.KigouNum = take<qint16>(image, offset);
    for (qint16 &flag : record.Koumoku)
        flag = take<qint16>(image, offset);
    for (qint32 &color : record.Color)
        color = take<qint32>(image, offset);
    return record;
}

void SetOptDefaults(OptRecord &record)
{
    record.ViewTime = DefaultViewTime;
    record.StringLen = 5;
    record.BlankTime = DefaultBlankTime;
    record.KigouNum = 20;
    record.Koumoku[0] = True16;
    record.Koumoku[1] = True16;
    record.Koumoku[2] = False16;
    record.Koumoku[3] = True16;
    record.Koumoku[4] = False16;
}

namespace {
QString &savePath()
{
    static QString path;
    return path;
}
} // namespace

QString ChooseOptFile()
{
    const QString directory = platform::programDirectory();
    const SettingsLocation location = chooseSettingsLocation(
        directory, platform::directoryWritable(directory), platform::userConfigDirectory(), platform::fileExists);
    savePath() = location.save;
    return location.load;
}

QString SettingsFilePath()
{
    if (savePath().isEmpty())
        ChooseOptFile();
    return savePath();
}

bool LoadOpt(const QString &path)
{
    if (!platform::fileExists(path))
        return false;
    // A file that cannot be read is as good as none: nothing of it may reach the record.
    const std::optional<QByteArray> bytes = platform::readBlock(path, OptRecSize);
    if (!bytes)
        return false;
    // A short file holds fewer colours than the game draws with; the others stay the colours on
    // screen, so that SetColor keeps them and a later save writes what the player saw.
    OptRecord base = OptRec;
    std::copy_n(ColorList.begin(), DrawColorCount, base.Color.begin());
    OptRec = optFromBytes(*bytes, base);
    return true;
}

bool SaveOpt(const QString &path)
{
    // The player's own file has no directory before its first save.
    return platform::makeDirectoryFor(path) && platform::writeBlock(path, optToBytes(OptRec));
}

int UsableKigouNum(const OptRecord &record)
{
    return KigouNumRange.clamp(record.KigouNum);
}

double UsableViewTime(const OptRecord &record)
{
    return ViewTimeRange.clamp(finiteOr(record.ViewTime, DefaultViewTime));
}

double UsableBlankTime(const OptRecord &record)
{
    return BlankTimeRange.clamp(finiteOr(record.BlankTime, DefaultBlankTime));
}

namespace {

std::array<QString, KigouListSize> symbolTable()
{
    static constexpr char16_t Symbols[] =
        u"\u3000○◎△▽〆∵∴‥□◇∥♂♀∞§〒→←↑↓∧∨∠∩∪⊃⊂⊇⊆∋∈⇒⇔∀∃≡∂⊥∫√≫≪‡†♪♭♯¶★●▲▼■◆☆";
    static_assert(std::size(Symbols) - 1 == SymbolCount + 1);
    std::array<QString, KigouListSize> table;
    for (int i = 0; i <= SymbolCount; ++i)
        table[i] = QString(QChar(Symbols[i]));
    return table;
}

// A row with more look-alikes than the table has room for fails to compile.
constexpr SimilarTable lookAlikeTable()
{
    // Row i: the look-alikes of symbol i, in order.
    const std::initializer_list<qint16> rows[SymbolCount + 1] = {
        {8},                // 0 blank
        {2, 50},            // 1 ○
        {1, 50},            // 2 ◎
        {4, 51},            // 3 △
        {3, 52},            // 4 ▽
        {12},               // 5 〆
        {7, 8},             // 6 ∵
        {6, 8},             // 7 ∴
        {6, 7},             // 8 ‥
        {10, 53},           // 9 □
        {9, 54},            // 10 ◇
        {48},               // 11 ∥
        {5, 13, 19, 37},    // 12 ♂
        {12, 16},           // 13 ♀
        {15},               // 14 ∞
        {14, 39},           // 15 §
        {13, 36},           // 16 〒
        {18, 32},           // 17 →
        {17, 40},           // 18 ←
        {12, 20},           // 19 ↑
        {19, 38},           // 20 ↓
        {22},               // 21 ∧
        {21, 34},           // 22 ∨
        {27},               // 23 ∠
        {25},               // 24 ∩
        {24},               // 25 ∪
        {27, 28, 30},       // 26 ⊃
        {23, 26, 29, 31},   // 27 ⊂
        {26, 30},           // 28 ⊇
        {27, 31},           // 29 ⊆
        {26, 28, 31, 35},   // 30 ∋
        {27, 29, 30},       // 31 ∈
        {17, 33},           // 32 ⇒
        {32},               // 33 ⇔
        {22},               // 34 ∀
        {30, 36},           // 35 ∃
        {16, 35},           // 36 ≡
        {12},               // 37 ∂
        {20},               // 38 ⊥
        {15},               // 39 ∫
        {18},               // 40 √
        {42},               // 41 ≫
        {41},               // 42 ≪
        {44, 47},           // 43 ‡
        {43},               // 44 †
        {46},               // 45 ♪
        {45},               // 46 ♭
        {43},               // 47 ♯
        {11},               // 48 ¶
        {55},               // 49 ★
        {1, 2},             // 50 ●
        {3, 52},            // 51 ▲
        {4, 51},            // 52 ▼
        {9, 54},            // 53 ■
        {10, 53},           // 54 ◆
        {49},               // 55 ☆
    };
    SimilarTable table{};
    for (size_t i = 0; i < std::size(rows); ++i) {
        table[i][0] = static_cast<qint16>(rows[i].size());
        size_t column = 1;
        for (qint16 index : rows[i])
            table[i][column++] = index;
    }
    return table;
}

} // namespace

const std::array<QString, KigouListSize> KigouList = symbolTable();
constexpr SimilarTable SimilarList = lookAlikeTable();

void InitList()
{
    std::copy(BuiltInColors.begin(), BuiltInColors.end(), ColorList.begin());
}

void SetColor()
{
    for (int i = 0; i < DrawColorCount; ++i)
        ColorList[i] = OptRec.Color[i];
}

void InitSC()
{
    for (int i = 0; i < ScoreCount; ++i)
        SCList[i] = -1;
}

void AddSC(float time)
{
    for (int i = ScoreCount - 1; i >= 1; --i)
        SCList[i] = SCList[i - 1];
    SCList[0] = static_cast<double>(time);
}

qint16 RndSel(platform::RandomSource &random, std::span<const qint16> list, int count)
{
    random.reseedFromTimeOfDay();
    return list[static_cast<size_t>(platform::drawIndex(random, count))];
}

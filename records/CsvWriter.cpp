#include "records/CsvWriter.h"

#include <QIODevice>

namespace records {

namespace {

const QByteArray Header = "started,outcome,elapsed_s,kind,items,view_time_s,blank_time_s,columns,rows,"
                          "answer1_column,answer1_row,answer2_column,answer2_row,misses,version,dropped_refreshes,mode,level,"
                          "screens,screens_off,worst_screen_error_ms,timing\r\n";

// Lines are gathered into blocks of about this size before each write.
constexpr qsizetype BlockBytes = 1 << 16;

void appendLine(QByteArray &out, const GameRecord &record)
{
    const auto number = [&out](auto value) {
        out += QByteArray::number(value);
        out += ',';
    };
    out += csvField(record.started);
    out += ',';
    out += csvField(outcomeName(record.outcome));
    out += ',';
    out += QByteArray::number(static_cast<double>(record.elapsedMs) / 1000, 'f', 3);
    out += ',';
    out += csvField(kindName(record.kind));
    out += ',';
    number(record.items);
    number(record.viewTime);
    number(record.blankTime);
    number(record.columns);
    number(record.rows);
    number(record.answer1Column);
    number(record.answer1Row);
    number(record.answer2Column);
    number(record.answer2Row);
    number(record.misses);
    out += csvField(record.version);
    out += ',';
    number(record.droppedRefreshes);
    out += csvField(modeName(record.mode));
    out += ',';
    out += QByteArray::number(record.level);
    // Unknown for games kept before the screens were counted: empty, not 0.
    out += ',';
    if (record.screens >= 0)
        out += QByteArray::number(record.screens);
    out += ',';
    if (record.screensOff >= 0)
        out += QByteArray::number(record.screensOff);
    out += ',';
    if (record.worstScreenErrorMs >= 0)
        out += QByteArray::number(record.worstScreenErrorMs, 'f', 3);
    out += ',';
    out += csvField(record.timing);
    out += "\r\n";
}

} // namespace

QByteArray csvField(const QString &text)
{
    QByteArray bytes = text.toUtf8();
    if (!bytes.contains(',') && !bytes.contains('"') && !bytes.contains('\r') && !bytes.contains('\n'))
        return bytes;
    bytes.replace("\"", "\"\"");
    return '"' + bytes + '"';
}

bool writeCsv(QIODevice &device, const QList<GameRecord> &records)
{
    QByteArray block = Header;
    block.reserve(BlockBytes + 1024);
    for (const GameRecord &record : records) {
        appendLine(block, record);
        if (block.size() >= BlockBytes) {
            if (device.write(block) != block.size())
                return false;
            block.clear();
        }
    }
    return device.write(block) == block.size();
}

} // namespace records

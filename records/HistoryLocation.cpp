#include "records/HistoryLocation.h"

#include "records/HistoryStore.h"

namespace records {

namespace {

QString &chosenPath()
{
    static QString path;
    return path;
}

} // namespace

QString historyPath()
{
    return chosenPath().isEmpty() ? defaultHistoryPath() : chosenPath();
}

void setHistoryPath(const QString &path)
{
    chosenPath() = path;
}

} // namespace records

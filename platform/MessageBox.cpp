#include "platform/MessageBox.h"

#include "platform/ProgramInfo.h"

#include <QMessageBox>

namespace platform {

namespace {
MessageService *installedMessages = nullptr;
}

void MessageBoxService::show(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(ProgramTitle), text, QMessageBox::Ok, parent);
    box.exec();
}

MessageService &messages()
{
    static MessageBoxService messageBox;
    return installedMessages ? *installedMessages : messageBox;
}

void setMessages(MessageService *replacement)
{
    installedMessages = replacement;
}

} // namespace platform

#pragma once

#include <QString>

class QWidget;

namespace platform {

class MessageService
{
public:
    virtual ~MessageService() = default;
    // Modal, one OK button, no icon, captioned with the program's title; returns when closed.
    virtual void show(QWidget *parent, const QString &text) = 0;
};

class MessageBoxService final : public MessageService
{
public:
    void show(QWidget *parent, const QString &text) override;
};

MessageService &messages();
void setMessages(MessageService *replacement); // nullptr restores the real message box

} // namespace platform

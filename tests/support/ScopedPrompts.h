#pragma once
// The prompt service for one scope. ScopedPromptAnswers installs a scripted
// service, through which a test queues the user's answers and reads back the
// prompts shown; ScopedPromptService installs any other service (the Qt one
// for tests that drive real dialogs). Either puts back the service that was
// installed before when it goes, so no test leaves its answers to the next.

#include "platform/ui/PromptService.h"
#include "platform/ui/ScriptedPromptService.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <utility>

class ScopedPromptService
{
public:
    explicit ScopedPromptService(std::shared_ptr<PromptService> service) : m_previous(SetPrompts(std::move(service))) {}
    ~ScopedPromptService() { SetPrompts(m_previous); }
    ScopedPromptService(const ScopedPromptService&) = delete;
    ScopedPromptService& operator=(const ScopedPromptService&) = delete;

private:
    std::shared_ptr<PromptService> m_previous;
};

class ScopedPromptAnswers
{
public:
    ScopedPromptAnswers() : m_service(std::make_shared<ScriptedPromptService>()), m_scope(m_service) {}
    ScopedPromptAnswers(const ScopedPromptAnswers&) = delete;
    ScopedPromptAnswers& operator=(const ScopedPromptAnswers&) = delete;

    ScriptedPromptService* operator->() const { return m_service.get(); }
    ScriptedPromptService& operator*() const { return *m_service; }
    const std::shared_ptr<ScriptedPromptService>& Service() const { return m_service; }

    // A fresh scripted service in place of this one: the answers queued and
    // the prompts shown so far are forgotten.
    void Renew()
    {
        m_service = std::make_shared<ScriptedPromptService>();
        SetPrompts(m_service);
    }

    // The texts of the prompts shown so far, in order.
    QStringList Texts() const
    {
        QStringList texts;
        for (const RecordedPrompt& prompt : m_service->Recorded())
            texts << prompt.text;
        return texts;
    }

private:
    std::shared_ptr<ScriptedPromptService> m_service;
    ScopedPromptService m_scope;
};

#pragma once
// A document whose undo snapshots are counted (and can be made to fail), a
// view and a listener that record what the document tells them, and a
// fixture with a scripted prompt service around them.

#include "designer/document/DesignerDoc.h"
#include "designer/elements/ElementClasses.h"
#include "designer/output/OutputClasses.h"
#include "platform/framework/Exceptions.h"
#include "platform/framework/View.h"
#include "tests/support/ScopedPrompts.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

class SnapshotCountingDoc : public CDesignerDoc
{
public:
    void TakeUndoSnapshot() override
    {
        ++snapshots;
        buildIdsAtSnapshot.push_back(GetBuildId());
        if (failSnapshots)
            AfxThrowMemoryException();
    }

    int snapshots = 0;
    std::vector<DWORD> buildIdsAtSnapshot;
    bool failSnapshots = false;
};

// Views are told first, then the listener; both land in one log.
struct Heard
{
    char who; // 'v' view, 'l' listener, 't' doc-type event
    LPARAM hint;
    const CObject* element;

    friend bool operator==(const Heard&, const Heard&) = default;
};

class RecordingView : public CView
{
public:
    explicit RecordingView(std::vector<Heard>* log) : m_log(log) {}
    void OnUpdate(CView*, LPARAM hint, CObject* element) override { m_log->push_back({'v', hint, element}); }

private:
    std::vector<Heard>* m_log;
};

class RecordingListener : public DocumentChangeListener
{
public:
    explicit RecordingListener(std::vector<Heard>* log) : m_log(log) {}
    void OnDocumentChanged(LPARAM hint, CObject*, CObject* element) override { m_log->push_back({'l', hint, element}); }
    void OnSetDocType(CView*, int docType, CDesignerDoc*) override { m_log->push_back({'t', docType, nullptr}); }
    void OnElementsRevalidated(CDesignerDoc*) override { ++revalidations; }
    void OnDocumentClosing(CDesignerDoc*) override { ++closings; }

    int revalidations = 0;
    int closings = 0;

private:
    std::vector<Heard>* m_log;
};

class DocFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterElementClasses();
        RegisterOutputClasses();
        RegisterOutputStrings();
        doc = std::make_unique<SnapshotCountingDoc>();
        doc->AddView(&view);
        doc->AddChangeListener(&listener);
    }

    void TearDown() override
    {
        doc->RemoveChangeListener(&listener);
        doc->RemoveView(&view);
        doc.reset();
    }

    // The hints the listener heard, in order.
    std::vector<LPARAM> ListenerHints() const
    {
        std::vector<LPARAM> hints;
        for (const Heard& h : log)
            if (h.who == 'l')
                hints.push_back(h.hint);
        return hints;
    }

    std::vector<QString> MessageTexts() const
    {
        std::vector<QString> texts;
        for (const RecordedPrompt& p : prompts->Recorded())
            texts.push_back(p.text);
        return texts;
    }

    std::vector<Heard> log;
    RecordingView view{&log};
    RecordingListener listener{&log};
    ScopedPromptAnswers prompts;
    std::unique_ptr<SnapshotCountingDoc> doc;
};

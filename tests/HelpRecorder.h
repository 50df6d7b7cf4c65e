#pragma once
// Watches the application's help requests as the help router does, and records them.
#include "HelpRequest.h"

#include <QApplication>
#include <QList>
#include <QPair>

class HelpRecorder : public QObject {
public:
    HelpRecorder() { qApp->installEventFilter(this); }
    ~HelpRecorder() override { qApp->removeEventFilter(this); }
    // Each request: its command and context number.
    QList<QPair<HelpRequestEvent::Command, int>> requests;
    QList<int> contexts() const
    {
        QList<int> out;
        for (const auto& r : requests)
            if (r.first == HelpRequestEvent::Context)
                out << r.second;
        return out;
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == HelpRequestEvent::eventType()) {
            const auto* request = static_cast<HelpRequestEvent*>(e);
            requests.append({request->command(), request->context()});
        }
        return false;
    }
};

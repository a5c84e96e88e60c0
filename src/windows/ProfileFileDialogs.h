#pragma once

#include <QString>

#include <functional>

class QWidget;

// The file dialogs of the profile dialog: choosing a profile file to import or to export to,
// and the program a profile is bound to. They are Qt's own file dialogs; tests answer them
// through a stand-in instead, without showing anything.
class ProfileFileDialogs {
public:
    enum Purpose {
        ImportProfile,  // an existing "*.pro" file
        ExportProfile,  // a "*.pro" file to create or replace, confirmed when it exists
        PickProgram,    // an existing executable file
    };
    struct Request {
        Purpose purpose;
        QString directory;  // where the dialog opens
    };
    // The chosen path; empty when the user cancelled.
    using Answer = std::function<QString(const Request&)>;

    static QString choose(QWidget* parent, Purpose purpose, const QString& directory);

    // Answers every later request instead of showing a dialog; an empty answer restores the
    // real dialogs. Returns the stand-in it replaced.
    static Answer setAnswerForTesting(Answer answer);
};

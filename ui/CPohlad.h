#pragma once

#include "db/prava.h"
#include "output/CPlocha.h"

#include <QWidget>

#include <memory>

class CLigaroDoc;

// What a view may ask of the main window besides the session.
class CRamecPohladov
{
public:
    virtual ~CRamecPohladov() = default;
    // "Panel úprav súťaže": whether the schedule shows its competition-editing panel.
    virtual bool CompetitionPanelVisible() const = 0;
    // Enabling of the commands must be looked at again (selection or state changed).
    virtual void UpdateCommands() = 0;
    // Shows a printout of the view's own in the print preview (a list other than the view's).
    virtual void PreviewPrintout(CTlacovina& printout) = 0;
};

// A list in the right pane. Created at every switch and destroyed at the next; it reads what it
// needs from the session in OnInitialUpdate.
class CPohlad : public QWidget
{
    Q_OBJECT
public:
    CPohlad(CLigaroDoc& doc, CRamecPohladov& frame, QWidget* parent = nullptr);

    virtual void OnInitialUpdate() = 0;
    // Edit access was granted or taken: fields and commands follow it.
    virtual void UpdateEditAccess() {}
    // The part of the season this list changes: on a shared season, the committee that keeps it.
    virtual CAgenda Agenda() const { return CAgenda::kSekretariat; }
    // "Panel úprav súťaže" was switched.
    virtual void CompetitionPanelChanged() {}

    // Commands of the toolbar and the menu that this view takes (add, edit, delete, ...).
    virtual bool TakesCommand(int command) const;
    virtual bool CommandEnabled(int command) const;
    virtual void RunCommand(int command);

    // What "Tlačiť..." prints; nullptr when the view does not print.
    virtual std::unique_ptr<CTlacovina> Printout() { return nullptr; }
    virtual bool Prints() const { return false; }
    virtual bool Exports() const { return false; }
    virtual void Export() {}

protected:
    CLigaroDoc& m_doc;
    CRamecPohladov& m_frame;
};

#pragma once

#include <QDate>
#include <QWidget>

class QCalendarWidget;
class QLineEdit;
class QToolButton;

// A date field that takes a date as people type it (3.8.2024, 03.08.2024, 3. 8. 2024, 3.8.24) and
// offers a calendar beside it (the button, Alt+Down or F4). Typing is free text: a field of
// sections would turn a typed 3.8.2024 into another day. A date that reads is shown again in the
// locale's form with four-digit years once the field is left; one that does not read stays as typed,
// for the dialog to refuse it.
class CPoleDatumu : public QWidget
{
    Q_OBJECT
public:
    explicit CPoleDatumu(QWidget* parent = nullptr);
    // The field leaves its children no way back: taking the focus away from the text as the widget goes
    // would otherwise run the tidying of a half-destroyed field.
    ~CPoleDatumu() override;

    // The typed date; invalid when the text is empty or is no date.
    QDate Date() const;
    void SetDate(const QDate& date);
    QString Text() const;
    void SetText(const QString& text);
    bool IsEmpty() const;

    QLineEdit* Edit() const { return m_edit; }
    QToolButton* CalendarButton() const { return m_button; }
    // The calendar while it is shown, else null.
    QCalendarWidget* Calendar() const { return m_calendar; }
    void ShowCalendar();

signals:
    // The user finished typing or chose a day in the calendar.
    void Edited();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Tidy();
    void Choose(const QDate& date);

    QLineEdit* m_edit;
    QToolButton* m_button;
    QCalendarWidget* m_calendar = nullptr;
};

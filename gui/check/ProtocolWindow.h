#pragma once
// "Kontrola zápisníku": a job's field-book check as a window. Atop it the
// protocol's summary and what the run said (its receipt, the block check's
// warning); then the findings, a line each with its level, station, points,
// check, value and limit, wrong ones in red and suspicious ones in amber; below
// them the observations of the finding chosen (the records it names, as read);
// last the whole protocol as the file holds it.

#include "check/JobCheck.h"

#include <QString>
#include <QWidget>

#include <memory>

class QTreeWidget;

class ProtocolWindow : public QWidget {
    Q_OBJECT
public:
    // notes: what the run that made the check said, shown above the findings
    // (empty: nothing).
    ProtocolWindow(std::shared_ptr<const JobCheck> check, const QString& notes, QWidget* parent = nullptr);

private:
    void ShowObservations(int finding);

    std::shared_ptr<const JobCheck> m_check;
    QTreeWidget* m_findings;
    QTreeWidget* m_observations;
};

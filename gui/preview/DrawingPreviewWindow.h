#pragma once
// "Náhled výkresu": the drawing just written, painted from the entities the writer
// wrote, north up; on the right the drawing's layers, each with a check box that
// shows or hides it, and a button that fits the whole drawing to the window again.
// Every point of the drawing is shown.

#include "base/ConversionSettings.h"
#include "base/SurveyRecord.h"

#include <QList>
#include <QRect>
#include <QWidget>

class DrawingView;
class QListWidget;

class DrawingPreviewWindow : public QWidget {
    Q_OBJECT
public:
    // records and settings are those the drawing was written from; fileName names
    // the drawing in the caption. The records are not kept.
    DrawingPreviewWindow(const SurveyRecordList& records, const ConversionSettings& settings, const QString& fileName,
                         QWidget* parent = nullptr);

    DrawingView* View() const { return m_view; }

    // Where a preview of size opens: at stored (its place when it last closed)
    // while that lies mostly on one of the screens, else beside the owner window
    // on its right or left where the screen has room, else centred on the owner.
    // Rectangles are frames in screen coordinates.
    static QRect Place(QSize size, const QRect& owner, const QList<QRect>& screens, const QRect& stored);

Q_SIGNALS:
    // The window is about to close: its place can be kept.
    void Closing();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    DrawingView* m_view;
    QListWidget* m_layerList;
};

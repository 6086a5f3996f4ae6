#pragma once
// "Náhled výkresu": the drawing just written, painted from the entities the writer
// wrote, north up; on the right the drawing's layers, each with a check box that
// shows or hides it, and a button that fits the whole drawing to the window again.

#include "base/ConversionSettings.h"
#include "base/SurveyRecord.h"

#include <QWidget>

class DrawingScene;
class DrawingView;
class QListWidget;

class DrawingPreviewWindow : public QWidget {
    Q_OBJECT
public:
    // records and settings are those the drawing was written from; fileName names
    // the drawing in the caption.
    DrawingPreviewWindow(const SurveyRecordList& records, const ConversionSettings& settings, const QString& fileName,
                         QWidget* parent = nullptr);

private:
    DrawingScene* m_scene;
    DrawingView* m_view;
    QListWidget* m_layerList;
};

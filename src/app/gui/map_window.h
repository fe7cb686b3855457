// The map window: a thin widget over MapPart. It shows the picture with its labels, the
// read-out fields and the controls, and hands every operator action to the part.
#pragma once

#include <QImage>
#include <QPointF>
#include <QTimer>
#include <QWidget>

#include "app/gui/label_painter.h"
#include "map/map_view.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vantrel {

class MapPart;
class MapImageView;

class MapWindow : public QWidget, public MapView {
    Q_OBJECT

public:
    explicit MapWindow(QWidget* parent = nullptr);
    ~MapWindow() override;

    // The part that this window shows and reports to; set once, before the window is shown.
    void Attach(MapPart& part);
    // The program is ending: a close is no longer refused.
    void AllowClose() { closeAllowed_ = true; }

    // MapView
    void SetWindowVisible(bool visible) override;
    bool WindowVisible() const override;
    void SetCaption(const std::string& caption) override;
    void ShowMessage(const std::string& caption, const std::string& text) override;
    void ShowPicture(std::shared_ptr<const Picture> picture, const std::vector<MapLabel>& labels,
                     const std::vector<MapSquare>& squares) override;
    void DrawLabels(std::span<const MapLabel> labels) override;
    void ShowMapStatus(const std::string& text) override;
    void ShowFields(const MapFields& fields) override;
    void ShowOptions(const MapOptions& options) override;
    void SetLayout(const MapLayout& layout) override;
    MapGeometry CurrentGeometry() const override;

    // The picture as shown, at the size of its area, with the labels drawn on it.
    const QImage& RenderedPicture() const { return shown_; }
    // The line saying what the map shows.
    QString StatusText() const;
    // Picture pixels to pixels of the shown picture.
    QPointF ShownScale() const;
    // How many times the picture area was asked to repaint.
    int RepaintRequests() const { return repaintRequests_; }

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    // The shown picture made again from the picture and every label.
    void Rebuild();
    void FillFontList();
    void ShowCounts();

    MapPart* part_ = nullptr;
    MapImageView* image_ = nullptr;
    QImage picture_;               // the picture at its own size, without labels
    std::vector<MapLabel> labels_;  // drawn on it since it was shown
    std::vector<MapSquare> squares_;
    QString statusNote_;  // said by the map part until the next picture
    QImage shown_;                 // scaled to the picture area, labels drawn at screen size
    LabelPainter labelPainter_;
    QTimer timer_;
    MapLayout layout_;
    bool applyingLayout_ = false;
    bool updating_ = false;          // controls set by the part, not by the operator
    bool activatedSinceShown_ = false;
    bool closeAllowed_ = false;
    int repaintRequests_ = 0;

    QLineEdit* latitude_ = nullptr;
    QLineEdit* longitude_ = nullptr;
    QLineEdit* grid_ = nullptr;
    QLineEdit* callsign_ = nullptr;
    QCheckBox* explore_ = nullptr;
    QCheckBox* autoClear_ = nullptr;
    QCheckBox* onTop_ = nullptr;
    QLineEdit* fontSize_ = nullptr;
    QComboBox* fontList_ = nullptr;
    QRadioButton* calls_ = nullptr;
    QRadioButton* grids_ = nullptr;
    QWidget* controls_ = nullptr;
    QLabel* status_ = nullptr;
};

}  // namespace vantrel

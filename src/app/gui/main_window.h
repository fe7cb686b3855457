// The main window: shows what the station engine tells it through StationView and reports the
// operator's actions as signals. It holds no program state besides the palette it draws with.
#pragma once

#include <QColor>
#include <QMainWindow>

#include "app/engine/station_view.h"
#include "app/gui/main_window_parts.h"

class QAction;
class QMenu;

namespace vantrel {

class MainWindow : public QMainWindow, public StationView {
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    // StationView
    void ShowMessage(const std::string& caption, const std::string& text) override;
    void ShowStatus(const std::string& text) override;
    void ShowProgress(bool visible, int percent) override;
    void SetRegionVisible(Region region, bool visible) override;
    void SetCaption(const std::string& caption) override;
    void ShowStationDetails(const std::string& call, const std::string& grid) override;
    void ShowN1mm(const std::string& host, const std::string& port) override;
    void ShowEntries(const std::string& text) override;
    void ShowLastContact(const std::string& text) override;
    void ApplyPlacement(const Placement& placement) override;
    void ApplyColours(const Palette& palette) override;
    void ApplyOptions(const StoredOptions& options) override;
    bool CurrentPlacement(Placement& placement) const override;
    void Quit() override;

    // Copies the states of the option controls (check boxes, character count, look-up service,
    // rig and antenna texts) into options; everything else in options is left as it is.
    void ReadOptions(StoredOptions& options) const override;

    // The palette last applied. (The widget's own QPalette stays reachable as QWidget::palette().)
    const Palette& palette() const { return colours_; }

signals:
    // Once, when the window is first activated (or first shown where the platform has no
    // activation): the engine runs its start-up sequence then.
    void firstActivated();
    void shown();
    // The window is about to close; emitted before the close is accepted.
    void closing();
    void resetRegistryRequested();
    // The operator finished the colour chooser for palette entry index0 (0 for Colour1).
    // accepted is false when the chooser was cancelled; colour is then the unchanged colour.
    void colourChosen(int index0, bool accepted, QColor colour);
    // The operator changed an option control (not emitted for ApplyOptions).
    void optionsEdited();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void BuildMenus();
    void ConnectOptionControls();
    void ChooseColour(int index0);
    void ShowCount(int count);
    void OptionChanged();
    void NoteActivation();

    MainWindowParts parts_;
    Palette colours_{};
    QMenu* colourMenu_ = nullptr;
    QAction* checkMyGridAction_ = nullptr;
    bool applyingOptions_ = false;
    bool activated_ = false;
};

}  // namespace vantrel

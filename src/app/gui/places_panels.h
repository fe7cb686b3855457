// The places row of the main window ("Places/call search:", the grid lookup field, "Lookup",
// "Extended") and the two panels it opens over the lists: "Gridsquare info:" and "Places
// Lookup:". Shows what the places part tells it and reports the operator's actions as signals.
#pragma once

#include <QObject>
#include <QString>

#include <vector>

#include "app/engine/views.h"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QStringListModel;
class QWidget;

namespace vantrel {

class PlacesPanels : public QObject, public PlacesView {
    Q_OBJECT

public:
    // Messages (the clipboard's) go to `notices`. The widgets are made without a parent; the
    // main window places them.
    PlacesPanels(NoticeView& notices, QObject* parent = nullptr);

    QWidget* Row() const { return row_; }
    // "Places/call search:" (Edit11), whose text the journal search also takes.
    QLineEdit* PlacesField() const { return placesField_; }
    QCheckBox* ExtendedCheck() const { return extended_; }
    QFrame* GridInfoPanel() const { return gridPanel_; }
    QFrame* PlacesPanel() const { return placesPanel_; }
    // Captions drawn in the palette's caption colour.
    const std::vector<QLabel*>& Captions() const { return captions_; }
    // The "Places Lookup:" panel keeps its width to the window's while it shows.
    void FollowWindowWidth();

    // PlacesView
    void ShowGridInfo(const GridInfo& info) override;
    void HideGridInfo(bool emptyLookupField) override;
    void ShowPlaces(const PlacesSearchResult& result) override;
    void HidePlaces() override;
    void WidenPlacesPanel() override;
    void SetExtendedVisible(bool visible) override;
    void EmptyPlacesField() override;
    void ShowMessage(const std::string& caption, const std::string& text) override;

signals:
    // "Lookup" or Enter in the grid lookup field, with the field's text.
    void lookupRequested(QString text);
    // A click on the "Gridsquare info:" panel, its "Click to close.", its list or into the field.
    void gridInfoCloseClicked();
    // A mouse button pressed and released on the panel's list.
    void gridListPressed();
    void gridListReleased();
    void bearingDoubleClicked();
    // A key typed into "Places/call search:".
    void placesTextEdited();
    // Enter in "Places/call search:", with whether "Extended" is ticked.
    void placesEntered(QString text, bool extended);
    // A double click on the "Places Lookup:" panel or its list.
    void placesCloseRequested();
    // "->> Clipboard".
    void copyPlacesRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildRow();
    void BuildGridPanel();
    void BuildPlacesPanel();
    QLabel* Caption(const QString& text);

    NoticeView& notices_;
    std::vector<QLabel*> captions_;

    QWidget* row_ = nullptr;
    QLineEdit* placesField_ = nullptr;  // Edit11
    QLineEdit* gridField_ = nullptr;    // Edit10
    QPushButton* lookupButton_ = nullptr;
    QCheckBox* extended_ = nullptr;  // CheckBox6

    QFrame* gridPanel_ = nullptr;  // Panel7
    QLabel* closeLabel_ = nullptr;
    QLabel* locator_ = nullptr;
    QLabel* centre_ = nullptr;
    QLabel* bearing_ = nullptr;
    QLabel* from_ = nullptr;
    QLabel* reverse_ = nullptr;
    QLabel* country_ = nullptr;
    QListWidget* gridPlaces_ = nullptr;

    QFrame* placesPanel_ = nullptr;  // Panel9
    QLabel* matches_ = nullptr;
    QPlainTextEdit* prefixes_ = nullptr;
    QListView* placesList_ = nullptr;
    QStringListModel* placesModel_ = nullptr;
    QPushButton* copyButton_ = nullptr;
};

}  // namespace vantrel

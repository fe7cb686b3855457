// The controls of the main window, built and laid out in one place so that the window class
// only wires them to the engine. Every control carries its object name and hint.
#pragma once

#include <vector>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSlider;
class QTextEdit;
class QToolButton;
class QWidget;

namespace vantrel {

class JournalPanel;
class MatchListView;
class PlacesPanels;

struct MainWindowParts {
    // Search row, entry count and the journal indicator.
    QLineEdit* searchBox = nullptr;  // Edit1
    QCheckBox* wildSearch = nullptr;
    QPushButton* clearButton = nullptr;  // "CLR"
    QLineEdit* entries = nullptr;        // Edit5
    QFrame* indicator = nullptr;         // Shape1

    QTextEdit* lastContact = nullptr;  // Edit2
    QTextEdit* callsignList = nullptr;  // richedit1
    QLabel* countryFileAge = nullptr;  // the date of cty.dat, under the callsign list

    // The search's result panel, drawn over the callsign list while it shows.
    QFrame* matchPanel = nullptr;
    QLabel* matchTitle = nullptr;  // "Matching entries list"
    MatchListView* matchList = nullptr;

    // Details panel, drawn over the match list and the callsign list, and the journal search
    // panel below the lists and the side column.
    QFrame* detailsPanel = nullptr;  // Panel6
    QLabel* detailsHeading = nullptr;  // Label12
    QTextEdit* details = nullptr;  // RichEdit2
    QTextEdit* contactDetails = nullptr;  // RichEdit3, yellow
    JournalPanel* allTxtPanel = nullptr;  // Panel10, "Searching local ALL.TXT"

    // Right-hand column.
    QFrame* searchOptions = nullptr;  // Panel1
    QCheckBox* autoShow = nullptr;
    QSlider* countSlider = nullptr;
    QLabel* countLabel = nullptr;
    QToolButton* countDown = nullptr;
    QToolButton* countUp = nullptr;
    QCheckBox* brDist = nullptr;
    QCheckBox* showDetails = nullptr;

    QFrame* loggedAs = nullptr;  // Panel2
    QLineEdit* call = nullptr;  // Edit3
    QLineEdit* grid = nullptr;  // Edit4

    QFrame* n1mm = nullptr;  // Panel3
    QLineEdit* n1mmHost = nullptr;  // Edit6
    QLineEdit* n1mmPort = nullptr;  // Edit7

    QFrame* radioGear = nullptr;  // Panel4
    QComboBox* rig = nullptr;  // ComboBox1
    QComboBox* antenna = nullptr;  // ComboBox2

    QPushButton* last50 = nullptr;
    QPushButton* today = nullptr;
    QCheckBox* mapCheck = nullptr;  // CheckBox3
    QPushButton* mapButton = nullptr;  // Button5
    QComboBox* lookupService = nullptr;  // ComboBox3
    QPushButton* lookButton = nullptr;

    QLabel* antWarningLabel = nullptr;
    QCheckBox* antEnabled = nullptr;  // CheckBox5
    QCheckBox* antAutochng = nullptr;  // CheckBox10
    QFrame* antWarningPanel = nullptr;  // Panel8
    QLabel* antWarningText = nullptr;
    QPushButton* antWarningYes = nullptr;
    QPushButton* antWarningNo = nullptr;
    QCheckBox* allTxtCheck = nullptr;

    // Bottom row (the places row above it belongs to the places panels).
    QFrame* progressPanel = nullptr;  // Panel5
    QProgressBar* progressBar = nullptr;
    QLabel* progressTitle = nullptr;

    // Captions and panel titles drawn in the palette's fifth colour.
    std::vector<QLabel*> captions;
};

// Creates every control as a child of central and lays them out, with the places row below the
// lists and the places panels over them.
void BuildMainWindowParts(QWidget* central, MainWindowParts& parts, PlacesPanels& places);

}  // namespace vantrel

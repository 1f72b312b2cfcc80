// CToolConfigDlg: the tool configuration dialog (157, "配置刀具").  The user
// picks a T number of the program and edits its tool: shape, name and
// dimensions, helped by pictures of the holder and the cutter that
// highlight the dimension being edited.  The tool can be kept in, and taken
// from, the tool library (ToolLibrary).
//
// Controls are named for the tests by their ids: "button<id>" for the push
// buttons, "control<id>" for the others.
//
// It is modeless and edits the document's tool slots in place: OK and the
// opening of the T number list store the fields into the selected slot, and
// choosing another number shows that slot.  The document owns the dialog's
// lifetime (one per document, gone with it) and tells it when it rebuilds
// its tool list, so that the dialog never writes into a slot by a stale
// index.
//
// The compensation reference (tool tip or ball centre) and the unit (mm or
// inch) are choices shown in the dialog only: the slot has no room for them
// and nothing else reads them.
#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

#include "ToolSlot.h"

class CToolDocument;
class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class CToolConfigDlg : public QDialog
{
    Q_OBJECT

public:
    // libraryPath is the tool library's file; empty leaves the library
    // buttons disabled.
    CToolConfigDlg(CToolDocument* document, const QString& libraryPath, QWidget* parent = nullptr);
    ~CToolConfigDlg() override;

    // The document has rebuilt its tool list (the program was interpreted
    // anew): the list shows the new numbers and the selected number stays
    // selected, with what its fields hold, when it is still there;
    // otherwise the first tool is shown.
    void OnToolListRebuilt();

    // The members exchanged with the fields.
    ToolType m_type = ToolType::FL;
    float m_SD = 0.0f;
    double m_TD = 0.0;
    float m_R = 0.0f;
    float m_L = 0.0f;
    float m_F = 0.0f;
    float m_D = 0.0f;
    float m_CL = 0.0f;
    float m_CD = 0.0f;
    float m_A = 0.0f;
    QString m_name;
    bool m_compensationTip = true;  // false: the ball centre
    bool m_unitMm = true;           // false: inch

protected:
    void accept() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void OnInitDialog();

    // Members to fields (false), or fields to members with validation
    // (true): false, with a message and the focus on the bad field, when a
    // field cannot be taken.
    bool UpdateData(bool saveAndValidate);
    // The slot shown, or null when none is (an empty list).
    ToolSlot* ShownSlot() const;
    void LoadShownSlot();
    // Takes the fields and writes them into the shown slot; false when a
    // field is bad (nothing is stored then).
    bool StoreShownSlot();
    // The members as a slot of number.
    ToolSlot MembersAsSlot(int32_t number) const;
    void TakeSlot(const ToolSlot& slot);
    void FillToolNumbers();
    void RefreshAll();
    void RefreshTypeRadios();
    void RefreshVisibleFields();
    void RefreshPictures();
    void UpdateLibraryButtons();

    // Handlers.
    bool OnDropDownToolNumber();
    void OnSelChangeToolNumber();
    void OnTypeRadio(ToolType type);
    void OnUnitRadio(bool mm);
    void OnCompensationPicture(bool tip);
    void OnFieldFocus(size_t index);
    // The holder and cutter pictures: those of the field last focused, for
    // the shape now chosen, or the plain ones.
    void ShowExplanation();
    void OnLoadFromLibrary();
    void OnSaveToLibrary();

    static void ShowBitmap(QLabel* picture, int bitmapId);

    CToolDocument* m_pDocument;
    QString m_libraryPath;
    // The index in the tool list of the slot the fields show; -1 for none.
    int m_shownIndex = -1;
    // The dimension field whose pictures show; none for the plain ones.
    std::optional<size_t> m_explainedField;

    QComboBox* m_toolNumber = nullptr;  // 1041
    QLineEdit* m_nameEdit = nullptr;    // 1050
    std::array<QRadioButton*, 5> m_typeRadios{};
    std::array<QLabel*, 5> m_typePictures{};
    QButtonGroup* m_typeGroup = nullptr;
    QRadioButton* m_unitMmRadio = nullptr;
    QRadioButton* m_unitInchRadio = nullptr;
    QButtonGroup* m_unitGroup = nullptr;
    QLabel* m_compensationLabel = nullptr;  // 1051
    QLabel* m_compensationTipPicture = nullptr;
    QLabel* m_compensationCentrePicture = nullptr;
    QLabel* m_holderPicture = nullptr;  // 1073
    QLabel* m_cutterPicture = nullptr;  // 1072
    QPushButton* m_loadLibrary = nullptr;
    QPushButton* m_saveLibrary = nullptr;
    // The dimension fields SD, CD, CL, D, F, L, R, A, TD (1055 to 1063) and
    // their labels.
    std::array<QLineEdit*, 9> m_edits{};
    std::array<QLabel*, 9> m_labels{};
};

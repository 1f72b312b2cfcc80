// The tool configuration dialog: its controls laid out in dialog units, the
// exchange between fields and slot, and its handlers.
#include "CToolConfigDlg.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QValidator>
#include <functional>

#include "AfxMessageBox.h"
#include "CToolLibraryDlg.h"
#include "DialogUnits.h"
#include "Resources.h"
#include "ToolDocument.h"
#include "ToolLibrary.h"
#include "ToolSlotText.h"
#include "ids.h"

namespace {

constexpr int kTypeCount = 5;

// Sets of shapes, one bit per ToolType.
constexpr int FL = 1 << 0, BU = 1 << 1, SP = 1 << 2, CO = 1 << 3, DR = 1 << 4;
constexpr int kAllTypes = FL | BU | SP | CO | DR;

bool Shown(int shapes, ToolType type)
{
    const auto t = static_cast<int32_t>(type);
    return t >= 0 && t < kTypeCount && ((shapes >> t) & 1) != 0;
}

// The dimension fields, in the order of their ids 1055 to 1063: where the
// value lives, for which shapes the field is shown, and the pictures shown
// while it has the focus: the upper one (the holder) and the lower one (the
// cutter) by shape FL, BU, SP, CO, DR, 0 for none.
struct DimensionField
{
    int id;
    int labelId;  // 0: the label has no id of its own
    const char* name;
    float CToolConfigDlg::*single;
    double CToolConfigDlg::*wide;
    int shownFor;
    int upperPicture;
    int lowerPicture[kTypeCount];
};

// Labels 1052 to 1054 belong to SD, CD and CL, 1066 to 1071 to D ... TD.
const DimensionField kDimensionFields[] = {
    {IDC_TOOL_SD, IDC_TOOL_SD_LABEL, "SD", &CToolConfigDlg::m_SD, nullptr, kAllTypes, IDB_TOOL_HOLDER_SD,
     {IDB_TOOL_CUTTER, IDB_TOOL_CUTTER, IDB_TOOL_CUTTER, IDB_TOOL_CUTTER, IDB_TOOL_CUTTER}},
    {IDC_TOOL_CD, IDC_TOOL_CD_LABEL, "CD", &CToolConfigDlg::m_CD, nullptr, kAllTypes, IDB_TOOL_HOLDER_CD,
     {IDB_TOOL_CUTTER, IDB_TOOL_CUTTER, IDB_TOOL_CUTTER, IDB_TOOL_CUTTER, IDB_TOOL_CUTTER}},
    {IDC_TOOL_CL, IDC_TOOL_CL_LABEL, "CL", &CToolConfigDlg::m_CL, nullptr, kAllTypes, IDB_TOOL_HOLDER_CL,
     {IDB_TOOL_CUTTER, IDB_TOOL_CUTTER, IDB_TOOL_CUTTER, IDB_TOOL_CUTTER, IDB_TOOL_CUTTER}},
    {IDC_TOOL_D, IDC_TOOL_D_LABEL, "D", &CToolConfigDlg::m_D, nullptr, kAllTypes, IDB_TOOL_HOLDER,
     {IDB_TOOL_FL_D, IDB_TOOL_BU_D, IDB_TOOL_SP_D, IDB_TOOL_CO_D, IDB_TOOL_DR_D}},
    {IDC_TOOL_F, IDC_TOOL_F_LABEL, "F", &CToolConfigDlg::m_F, nullptr, kAllTypes, IDB_TOOL_HOLDER,
     {IDB_TOOL_FL_F, IDB_TOOL_BU_F, IDB_TOOL_SP_F, IDB_TOOL_CO_F, IDB_TOOL_DR_F}},
    {IDC_TOOL_L, IDC_TOOL_L_LABEL, "L", &CToolConfigDlg::m_L, nullptr, kAllTypes, IDB_TOOL_HOLDER,
     {IDB_TOOL_FL_L, IDB_TOOL_BU_L, IDB_TOOL_SP_L, IDB_TOOL_CO_L, IDB_TOOL_DR_L}},
    {IDC_TOOL_R, IDC_TOOL_R_LABEL, "R", &CToolConfigDlg::m_R, nullptr, BU | SP | CO, IDB_TOOL_HOLDER,
     {0, IDB_TOOL_BU_R, IDB_TOOL_SP_R, IDB_TOOL_CO_R, 0}},
    {IDC_TOOL_A, IDC_TOOL_A_LABEL, "A", &CToolConfigDlg::m_A, nullptr, CO | DR, IDB_TOOL_HOLDER,
     {0, 0, 0, IDB_TOOL_CO_A, IDB_TOOL_DR_A}},
    {IDC_TOOL_TD, IDC_TOOL_TD_LABEL, "TD", nullptr, &CToolConfigDlg::m_TD, CO, IDB_TOOL_HOLDER,
     {0, 0, 0, IDB_TOOL_CO_TD, 0}},
};
static_assert(std::size(kDimensionFields) == 9);

// The compensation pictures and their label are shown for these shapes.
constexpr int kCompensationShownFor = BU | SP;

// Shape radios and pictures in type order FL, BU, SP, CO, DR.
constexpr int kTypeRadioIds[kTypeCount] = {IDC_TOOL_TYPE_FL, IDC_TOOL_TYPE_BU, IDC_TOOL_TYPE_SP, IDC_TOOL_TYPE_CO,
                                           IDC_TOOL_TYPE_DR};
constexpr const char* kTypeRadioTexts[kTypeCount] = {"FL", "BU", "SP", "CO", "DR"};
constexpr int kTypePictureIds[kTypeCount] = {IDC_TOOL_PICTURE_FL, IDC_TOOL_PICTURE_BU, IDC_TOOL_PICTURE_SP,
                                             IDC_TOOL_PICTURE_CO, IDC_TOOL_PICTURE_DR};
constexpr int kTypeBitmaps[kTypeCount] = {IDB_TOOL_FL, IDB_TOOL_BU, IDB_TOOL_SP, IDB_TOOL_CO, IDB_TOOL_DR};
constexpr int kTypeSelectedBitmaps[kTypeCount] = {IDB_TOOL_FL_SELECTED, IDB_TOOL_BU_SELECTED, IDB_TOOL_SP_SELECTED,
                                                  IDB_TOOL_CO_SELECTED, IDB_TOOL_DR_SELECTED};

// ---- Layout, in dialog units of the dialog's font (299 x 196).
constexpr int kDialogWidth = 299, kDialogHeight = 196;
constexpr int kGroupX = 7, kGroupY = 4, kGroupWidth = 285, kGroupHeight = 162;
constexpr int kLeft = 14;                                // the left column's controls
constexpr int kTypeCellX = 14, kTypeCellWidth = 29;      // one cell per shape
constexpr int kTypePictureY = 32, kTypeRadioY = 56;
constexpr int kUnitX = 163, kUnitMmY = 36, kUnitInchY = 50;
constexpr int kFieldRowY[3] = {76, 94, 112};             // holder; D F L; R A TD
constexpr int kFieldColumnX[3] = {14, 73, 132};
constexpr int kFieldLabelWidth = 16, kFieldEditWidth = 38, kEditHeight = 12;
constexpr int kCompensationY = 134;
constexpr int kPictureX = 196, kPictureY = 12;           // holder above cutter
constexpr int kButtonY = 174, kButtonHeight = 15;
constexpr int kPictureGapPixels = 4;

// A picture control that tells of clicks on it (the compensation pictures).
class CClickablePicture : public QLabel
{
public:
    CClickablePicture(std::function<void()> onClick, QWidget* parent)
        : QLabel(parent), m_onClick(std::move(onClick))
    {
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton)
            m_onClick();
    }

private:
    std::function<void()> m_onClick;
};

// The list of T numbers, which tells before it drops down; the drop-down is
// called off when the callback says so.
class CToolNumberCombo : public QComboBox
{
public:
    CToolNumberCombo(std::function<bool()> onDropDown, QWidget* parent)
        : QComboBox(parent), m_onDropDown(std::move(onDropDown))
    {
    }
    void showPopup() override
    {
        if (m_onDropDown())
            QComboBox::showPopup();
    }

private:
    std::function<bool()> m_onDropDown;
};

// Refuses a name that cannot be stored: too many bytes, a character without
// a GBK form, control characters.  So a name that is too long cannot be
// typed or pasted.
class CToolNameValidator : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        return IsValidToolName(input) ? Acceptable : Invalid;
    }
};

QString ControlName(int id)
{
    return QStringLiteral("control%1").arg(id);
}

}  // namespace

CToolConfigDlg::CToolConfigDlg(CToolDocument* document, const QString& libraryPath, QWidget* parent)
    : QDialog(parent), m_pDocument(document), m_libraryPath(libraryPath)
{
    setObjectName(QStringLiteral("dialog%1").arg(IDD_TOOLCONFIG));
    setWindowTitle(QStringLiteral("配置刀具"));
    CreateControls();
    OnInitDialog();
}

CToolConfigDlg::~CToolConfigDlg() = default;

void CToolConfigDlg::CreateControls()
{
    const DialogUnits du(font());
    setFixedSize(du.X(kDialogWidth), du.Y(kDialogHeight));

    // The frame first, so that it lies beneath the controls it frames.
    auto* group = new QGroupBox(this);
    du.Place(group, kGroupX, kGroupY, kGroupWidth, kGroupHeight);

    auto* numberLabel = new QLabel(QStringLiteral("T#"), this);
    du.Place(numberLabel, kLeft, 16, 12, 9);
    m_toolNumber = new CToolNumberCombo([this] { return OnDropDownToolNumber(); }, this);
    m_toolNumber->setObjectName(ControlName(IDC_TOOL_NUMBER));
    du.Place(m_toolNumber, kLeft + 14, 14, 44, 13);
    connect(m_toolNumber, &QComboBox::currentIndexChanged, this, [this] { OnSelChangeToolNumber(); });

    auto* nameLabel = new QLabel(QStringLiteral("刀具名称:"), this);
    du.Place(nameLabel, 80, 16, 38, 9);
    m_nameEdit = new QLineEdit(this);
    m_nameEdit->setObjectName(ControlName(IDC_TOOL_NAME));
    m_nameEdit->setValidator(new CToolNameValidator(m_nameEdit));
    du.Place(m_nameEdit, 118, 14, 70, kEditHeight + 1);

    m_typeGroup = new QButtonGroup(this);
    for (int t = 0; t < kTypeCount; ++t) {
        const int cellX = kTypeCellX + t * kTypeCellWidth;
        auto* picture = new QLabel(this);
        picture->setObjectName(ControlName(kTypePictureIds[t]));
        picture->setAlignment(Qt::AlignCenter);
        // The pictures are pixels (28 x 40, the drill's 21 x 40): a cell
        // holds them centred whatever the font.
        picture->setGeometry(du.X(cellX), du.Y(kTypePictureY), du.X(kTypeCellWidth - 3), 40);
        m_typePictures[t] = picture;
        auto* radio = new QRadioButton(QString::fromLatin1(kTypeRadioTexts[t]), this);
        radio->setObjectName(ControlName(kTypeRadioIds[t]));
        du.Place(radio, cellX + 4, kTypeRadioY, kTypeCellWidth - 4, 10);
        m_typeGroup->addButton(radio, t);
        m_typeRadios[t] = radio;
    }
    connect(m_typeGroup, &QButtonGroup::idClicked, this, [this](int t) { OnTypeRadio(static_cast<ToolType>(t)); });

    m_unitGroup = new QButtonGroup(this);
    m_unitMmRadio = new QRadioButton(QStringLiteral("mm"), this);
    m_unitMmRadio->setObjectName(ControlName(IDC_TOOL_UNIT_MM));
    du.Place(m_unitMmRadio, kUnitX, kUnitMmY, 28, 10);
    m_unitInchRadio = new QRadioButton(QStringLiteral("inch"), this);
    m_unitInchRadio->setObjectName(ControlName(IDC_TOOL_UNIT_INCH));
    du.Place(m_unitInchRadio, kUnitX, kUnitInchY, 28, 10);
    m_unitGroup->addButton(m_unitMmRadio, 1);
    m_unitGroup->addButton(m_unitInchRadio, 0);
    connect(m_unitGroup, &QButtonGroup::idClicked, this, [this](int mm) { OnUnitRadio(mm != 0); });

    for (size_t i = 0; i < m_edits.size(); ++i) {
        const DimensionField& field = kDimensionFields[i];
        const int x = kFieldColumnX[i % 3], y = kFieldRowY[i / 3];
        auto* label = new QLabel(QStringLiteral("%1:").arg(QLatin1String(field.name)), this);
        label->setObjectName(ControlName(field.labelId));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        du.Place(label, x, y + 1, kFieldLabelWidth - 2, 10);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(ControlName(field.id));
        du.Place(edit, x + kFieldLabelWidth, y, kFieldEditWidth, kEditHeight + 1);
        edit->installEventFilter(this);
        m_labels[i] = label;
        m_edits[i] = edit;
    }

    m_compensationLabel = new QLabel(QStringLiteral("刀补设置:"), this);
    m_compensationLabel->setObjectName(ControlName(IDC_TOOL_COMP_LABEL));
    du.Place(m_compensationLabel, kLeft, kCompensationY + 6, 38, 9);
    m_compensationTipPicture = new CClickablePicture([this] { OnCompensationPicture(true); }, this);
    m_compensationTipPicture->setObjectName(ControlName(IDC_TOOL_COMP_TIP));
    m_compensationTipPicture->setToolTip(QStringLiteral("刀补以刀尖为基准"));
    m_compensationTipPicture->setGeometry(du.X(56), du.Y(kCompensationY), 28, 36);
    m_compensationCentrePicture = new CClickablePicture([this] { OnCompensationPicture(false); }, this);
    m_compensationCentrePicture->setObjectName(ControlName(IDC_TOOL_COMP_CENTRE));
    m_compensationCentrePicture->setToolTip(QStringLiteral("刀补以球心为基准"));
    m_compensationCentrePicture->setGeometry(du.X(56) + 28 + du.X(6), du.Y(kCompensationY), 28, 36);

    m_holderPicture = new QLabel(this);
    m_holderPicture->setObjectName(ControlName(IDC_TOOL_HOLDER_PICTURE));
    m_holderPicture->setGeometry(du.X(kPictureX), du.Y(kPictureY), 144, 90);
    m_cutterPicture = new QLabel(this);
    m_cutterPicture->setObjectName(ControlName(IDC_TOOL_CUTTER_PICTURE));
    // Pixels below the holder, so that the two never overlap.
    m_cutterPicture->setGeometry(du.X(kPictureX), m_holderPicture->geometry().bottom() + 1 + kPictureGapPixels, 144,
                                 125);

    m_loadLibrary = new QPushButton(QStringLiteral("从刀库载入"), this);
    m_loadLibrary->setObjectName(QStringLiteral("button%1").arg(IDC_TOOL_LOAD_LIBRARY));
    du.Place(m_loadLibrary, kGroupX, kButtonY, 60, kButtonHeight);
    connect(m_loadLibrary, &QPushButton::clicked, this, [this] { OnLoadFromLibrary(); });
    m_saveLibrary = new QPushButton(QStringLiteral("存入刀库"), this);
    m_saveLibrary->setObjectName(QStringLiteral("button%1").arg(IDC_TOOL_SAVE_LIBRARY));
    du.Place(m_saveLibrary, kGroupX + 64, kButtonY, 60, kButtonHeight);
    connect(m_saveLibrary, &QPushButton::clicked, this, [this] { OnSaveToLibrary(); });
    auto* ok = new QPushButton(QStringLiteral("确定(&O)"), this);
    ok->setObjectName(QStringLiteral("button%1").arg(IDOK));
    ok->setDefault(true);
    du.Place(ok, kGroupX + kGroupWidth - 2 * 54 - 4, kButtonY, 54, kButtonHeight);
    connect(ok, &QPushButton::clicked, this, &CToolConfigDlg::accept);
    auto* cancel = new QPushButton(QStringLiteral("取消(&C)"), this);
    cancel->setObjectName(QStringLiteral("button%1").arg(IDCANCEL));
    du.Place(cancel, kGroupX + kGroupWidth - 54, kButtonY, 54, kButtonHeight);
    connect(cancel, &QPushButton::clicked, this, &CToolConfigDlg::reject);
}

void CToolConfigDlg::OnInitDialog()
{
    UpdateData(false);
    FillToolNumbers();
    LoadShownSlot();
    RefreshAll();
}

void CToolConfigDlg::FillToolNumbers()
{
    const QSignalBlocker quiet(m_toolNumber);
    m_toolNumber->clear();
    if (m_pDocument)
        for (const ToolSlot& slot : m_pDocument->ToolSlots())
            m_toolNumber->addItem(QString::number(slot.number), slot.number);
    m_shownIndex = m_toolNumber->count() > 0 ? 0 : -1;
    m_toolNumber->setCurrentIndex(m_shownIndex);
}

void CToolConfigDlg::OnToolListRebuilt()
{
    const bool hadSlot = m_shownIndex >= 0;
    const int number = hadSlot ? m_toolNumber->itemData(m_shownIndex).toInt() : 0;
    FillToolNumbers();
    const int kept = hadSlot ? m_toolNumber->findData(number) : -1;
    if (kept >= 0) {
        // The same tool: the fields hold what the user is editing for it.
        const QSignalBlocker quiet(m_toolNumber);
        m_toolNumber->setCurrentIndex(kept);
        m_shownIndex = kept;
    } else {
        LoadShownSlot();
    }
    RefreshAll();
}

ToolSlot* CToolConfigDlg::ShownSlot() const
{
    if (!m_pDocument || m_shownIndex < 0)
        return nullptr;
    std::vector<ToolSlot>& tools = m_pDocument->ToolSlots();
    if (m_shownIndex >= int(tools.size()))
        return nullptr;
    // The list mirrors the document's; a slot of another number means that
    // the document changed its list without a word, and no slot is safe.
    ToolSlot& slot = tools[size_t(m_shownIndex)];
    return slot.number == m_toolNumber->itemData(m_shownIndex).toInt() ? &slot : nullptr;
}

void CToolConfigDlg::LoadShownSlot()
{
    if (const ToolSlot* slot = ShownSlot()) {
        TakeSlot(*slot);
        UpdateData(false);
    } else if (m_toolNumber->count() == 0) {
        m_type = ToolType::FL;
    }
}

void CToolConfigDlg::TakeSlot(const ToolSlot& slot)
{
    m_type = slot.type;
    m_name = ToolSlotName(slot);
    m_SD = slot.SD;
    m_TD = slot.TD;
    m_R = slot.R;
    m_L = slot.L;
    m_F = slot.F;
    m_D = slot.D;
    m_CL = slot.CL;
    m_CD = slot.CD;
    m_A = slot.A;
}

ToolSlot CToolConfigDlg::MembersAsSlot(int32_t number) const
{
    ToolSlot slot;
    slot.number = number;
    // The name passed the validation of the field.
    SetToolSlotName(slot, m_name);
    slot.type = m_type;
    slot.SD = m_SD;
    slot.TD = m_TD;
    slot.R = m_R;
    slot.L = m_L;
    slot.F = m_F;
    slot.D = m_D;
    slot.CL = m_CL;
    slot.CD = m_CD;
    slot.A = m_A;
    slot.reserved = 0;
    return slot;
}

bool CToolConfigDlg::StoreShownSlot()
{
    if (!UpdateData(true))
        return false;
    if (ToolSlot* slot = ShownSlot()) {
        *slot = MembersAsSlot(slot->number);
        m_pDocument->OnToolDefinitionsChanged();
    }
    return true;
}

bool CToolConfigDlg::UpdateData(bool saveAndValidate)
{
    if (!saveAndValidate) {
        m_nameEdit->setText(m_name);
        for (size_t i = 0; i < m_edits.size(); ++i) {
            const DimensionField& field = kDimensionFields[i];
            m_edits[i]->setText(QString::fromStdString(field.single ? FormatToolNumber(this->*field.single)
                                                                   : FormatToolNumber(this->*field.wide)));
        }
        return true;
    }

    const auto refuse = [this](QLineEdit* edit, const QString& message) {
        AfxMessageBox(message, MB_OK | MB_ICONWARNING);
        edit->setFocus();
        edit->selectAll();
        return false;
    };
    const QString name = m_nameEdit->text();
    if (!IsValidToolName(name))
        return refuse(m_nameEdit, QStringLiteral("刀具名称最多 %1 个字节（一个汉字占 2 个字节），且只能含 GBK 字符。")
                                      .arg(kToolNameBytes));
    // Into a copy first: a bad field leaves every member as it was.
    float singles[9] = {};
    double wides[9] = {};
    for (size_t i = 0; i < m_edits.size(); ++i) {
        const DimensionField& field = kDimensionFields[i];
        const QString text = m_edits[i]->text().trimmed();
        const std::string bytes = text.toStdString();
        if (field.single ? ParseToolNumber(bytes, singles[i]) : ParseToolNumber(bytes, wides[i]))
            continue;
        if (!Shown(field.shownFor, m_type)) {
            // Hidden for this shape, so the user could not put it right:
            // it keeps its value.
            singles[i] = field.single ? this->*field.single : 0.0f;
            wides[i] = field.wide ? this->*field.wide : 0.0;
            m_edits[i]->setText(QString::fromStdString(field.single ? FormatToolNumber(singles[i])
                                                                   : FormatToolNumber(wides[i])));
            continue;
        }
        const QString shownName = QLatin1String(field.name);
        return refuse(m_edits[i],
                      text.isEmpty() ? QStringLiteral("请在 %1 中输入一个数字。").arg(shownName)
                                     : QStringLiteral("%1 中的“%2”不是有效的数字，请输入一个数字。").arg(shownName, text));
    }
    m_name = name;
    for (size_t i = 0; i < m_edits.size(); ++i) {
        const DimensionField& field = kDimensionFields[i];
        if (field.single)
            this->*field.single = singles[i];
        else
            this->*field.wide = wides[i];
    }
    return true;
}

void CToolConfigDlg::RefreshAll()
{
    RefreshTypeRadios();
    RefreshVisibleFields();
    RefreshPictures();
    UpdateLibraryButtons();
}

void CToolConfigDlg::RefreshTypeRadios()
{
    const auto index = static_cast<int32_t>(m_type);
    // A slot may come with a shape the dialog does not know: it is edited
    // as FL, which is how the simulation draws it.
    if (index < 0 || index >= kTypeCount)
        m_type = ToolType::FL;
    m_typeRadios[size_t(static_cast<int32_t>(m_type))]->setChecked(true);
}

void CToolConfigDlg::RefreshVisibleFields()
{
    for (size_t i = 0; i < m_edits.size(); ++i) {
        const bool shown = Shown(kDimensionFields[i].shownFor, m_type);
        m_edits[i]->setVisible(shown);
        m_labels[i]->setVisible(shown);
    }
    const bool compensation = Shown(kCompensationShownFor, m_type);
    m_compensationLabel->setVisible(compensation);
    m_compensationTipPicture->setVisible(compensation);
    m_compensationCentrePicture->setVisible(compensation);
}

void CToolConfigDlg::RefreshPictures()
{
    const int current = static_cast<int32_t>(m_type);
    for (int t = 0; t < kTypeCount; ++t)
        ShowBitmap(m_typePictures[size_t(t)], t == current ? kTypeSelectedBitmaps[t] : kTypeBitmaps[t]);
    ShowBitmap(m_compensationTipPicture, m_compensationTip ? IDB_TOOL_COMP_TIP_SELECTED : IDB_TOOL_COMP_TIP);
    ShowBitmap(m_compensationCentrePicture,
               m_compensationTip ? IDB_TOOL_COMP_CENTRE : IDB_TOOL_COMP_CENTRE_SELECTED);
    // Another shape (a radio, another T number) redraws the explanation
    // for it: a cutter of the shape no longer chosen would mislead.
    ShowExplanation();
}

void CToolConfigDlg::UpdateLibraryButtons()
{
    m_loadLibrary->setEnabled(!m_libraryPath.isEmpty());
    // A tool is kept in the library under its T number.
    m_saveLibrary->setEnabled(!m_libraryPath.isEmpty() && ShownSlot());
}

void CToolConfigDlg::ShowBitmap(QLabel* picture, int bitmapId)
{
    if (bitmapId == 0) {
        picture->clear();
        return;
    }
    picture->setPixmap(QPixmap::fromImage(LoadBitmapResource(bitmapId)));
}

void CToolConfigDlg::accept()
{
    if (StoreShownSlot())
        QDialog::accept();
}

bool CToolConfigDlg::OnDropDownToolNumber()
{
    // The edits of the tool shown are kept before another is chosen.
    return StoreShownSlot();
}

void CToolConfigDlg::OnSelChangeToolNumber()
{
    const int chosen = m_toolNumber->currentIndex();
    if (chosen == m_shownIndex)
        return;
    // A number chosen without opening the list (the arrow keys, the wheel)
    // keeps the edits too; when they cannot be taken, the choice is undone.
    if (!StoreShownSlot()) {
        const QSignalBlocker quiet(m_toolNumber);
        m_toolNumber->setCurrentIndex(m_shownIndex);
        return;
    }
    m_shownIndex = chosen;
    LoadShownSlot();
    RefreshAll();
}

void CToolConfigDlg::OnTypeRadio(ToolType type)
{
    m_type = type;
    RefreshAll();
}

void CToolConfigDlg::OnUnitRadio(bool mm)
{
    m_unitMm = mm;
}

void CToolConfigDlg::OnCompensationPicture(bool tip)
{
    m_compensationTip = tip;
    RefreshPictures();
}

bool CToolConfigDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn)
        for (size_t i = 0; i < m_edits.size(); ++i)
            if (watched == m_edits[i])
                OnFieldFocus(i);
    return QDialog::eventFilter(watched, event);
}

void CToolConfigDlg::OnFieldFocus(size_t index)
{
    // After the click that gave the focus has placed the cursor.
    QTimer::singleShot(0, m_edits[index], &QLineEdit::selectAll);
    m_explainedField = index;
    ShowExplanation();
}

void CToolConfigDlg::ShowExplanation()
{
    // A field the shape hides has nothing to explain.
    if (m_explainedField && !Shown(kDimensionFields[*m_explainedField].shownFor, m_type))
        m_explainedField.reset();
    if (!m_explainedField) {
        ShowBitmap(m_holderPicture, IDB_TOOL_HOLDER);
        ShowBitmap(m_cutterPicture, IDB_TOOL_CUTTER);
        return;
    }
    const DimensionField& field = kDimensionFields[*m_explainedField];
    ShowBitmap(m_holderPicture, field.upperPicture);
    ShowBitmap(m_cutterPicture, field.lowerPicture[static_cast<int32_t>(m_type)]);
}

void CToolConfigDlg::OnLoadFromLibrary()
{
    ToolLibrary library;
    const ToolLibrary::LoadResult loaded = library.Load(m_libraryPath);
    if (!loaded.message.isEmpty())
        AfxMessageBox(loaded.message, MB_OK | MB_ICONWARNING);
    if (library.Entries().empty()) {
        if (loaded.status == ToolLibrary::LoadStatus::Loaded)
            AfxMessageBox(QStringLiteral("刀库中还没有刀具：可用“存入刀库”把刀具存进去。"), MB_OK | MB_ICONINFORMATION);
        return;
    }
    // Window-modal and answered by a signal: the dialog and the program go
    // on running, and nothing waits in a loop of its own.
    auto* picker = new CToolLibraryDlg(library.Entries(), this);
    picker->setAttribute(Qt::WA_DeleteOnClose);
    connect(picker, &QDialog::accepted, this, [this, picker] {
        if (const ToolSlot* tool = picker->SelectedTool()) {
            TakeSlot(*tool);
            UpdateData(false);
            RefreshAll();
        }
    });
    picker->open();
}

void CToolConfigDlg::OnSaveToLibrary()
{
    const ToolSlot* slot = ShownSlot();
    if (!slot || !UpdateData(true))
        return;
    const ToolSlot tool = MembersAsSlot(slot->number);
    ToolLibrary library;
    const ToolLibrary::LoadResult loaded = library.Load(m_libraryPath);
    if (loaded.status == ToolLibrary::LoadStatus::Unreadable) {
        AfxMessageBox(loaded.message, MB_OK | MB_ICONERROR);
        return;
    }
    if (!loaded.message.isEmpty())
        AfxMessageBox(loaded.message, MB_OK | MB_ICONWARNING);
    if (const ToolSlot* kept = library.Find(tool.number)) {
        const QString name = ToolSlotName(*kept);
        const QString question =
            QStringLiteral("刀库中已有 T%1%2，要用现在的刀具替换它吗？")
                .arg(tool.number)
                .arg(name.isEmpty() ? QString() : QStringLiteral("（%1）").arg(name));
        if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
    }
    library.Put(tool);
    QString message;
    if (!library.Save(m_libraryPath, &message))
        AfxMessageBox(message, MB_OK | MB_ICONERROR);
}

#pragma once

// "部屋選択": the panel beside the layer bar while a room tool is active. Its list copies a room
// style (the current one, none, or one of the room list file) into the document's room settings,
// its boxes choose how the next room is labelled, and for the rectangle-room tool a fixed size in
// mats. Every choice acts at once; there is no OK.

#include "model/RoomInfo.h"
#include "model/RoomList.h"

#include <QDialog>

#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QRadioButton;

namespace kov::platform {
class Profile;
}

namespace kov::dialogs {

class RoomChoiceForm {
public:
    static constexpr const char* kCurrent = "----現設定----";
    static constexpr const char* kNoFill = "--塗りつぶし無し--";
    static constexpr const char* kSizes[5] = {"3", "4.5", "6", "8", "10"};

    // `fixedSize` and `sizeIndex` are the tool's: the rectangle-room tool reads them at each move.
    RoomChoiceForm(CRoomInfo& room, kov::platform::Profile& profile, int polygonMode, int& fixedSize, int& sizeIndex);

    // The two fixed entries, then the rooms of the file's list; the first selected and applied when
    // the file gave rooms (as when it opened), else none selected.
    void Fill(const std::vector<kov::model::RoomListEntry>& fileRooms, bool fileOpened);
    void ApplyEntry(int index);

    void OnName(bool ticked);
    void OnArea(bool ticked);
    void OnSquareMetres(bool on);
    void OnFixed(bool on);
    void OnSizeIndex(int index);

    const std::vector<kov::model::RoomListEntry>& entries() const { return m_entries; }
    int selected() const { return m_selected; }
    bool nameTicked() const { return m_name; }
    bool areaTicked() const { return m_area; }
    bool squareMetres() const { return m_squareMetres; }
    int polygonMode() const { return m_polygonMode; }
    const CRoomInfo& room() const { return m_room; }

private:
    CRoomInfo& m_room;
    kov::platform::Profile& m_profile;
    int m_polygonMode = 0;
    int& m_fixedSize;
    int& m_sizeIndex;
    std::vector<kov::model::RoomListEntry> m_entries;
    int m_selected = -1;
    bool m_name = true, m_area = false, m_squareMetres = false;
};

class CRoomChoiseDlg : public QDialog {
public:
    CRoomChoiseDlg(CRoomInfo& room, kov::platform::Profile& profile, int polygonMode, int& fixedSize, int& sizeIndex,
                   const std::vector<kov::model::RoomListEntry>& fileRooms, bool fileOpened, int tatamiBorders,
                   QWidget* parent = nullptr);
    RoomChoiceForm& form() { return m_form; }

    QLabel* m_sample = nullptr;
    QListWidget* m_list = nullptr;
    QCheckBox* m_name = nullptr;
    QCheckBox* m_area = nullptr;
    QRadioButton* m_mats = nullptr;
    QRadioButton* m_squareMetres = nullptr;
    QGroupBox* m_sizeFrame = nullptr;
    QRadioButton* m_free = nullptr;
    QRadioButton* m_fixed = nullptr;
    QComboBox* m_sizes = nullptr;

protected:
    // Enter does nothing; Esc hides the panel and the tool stays.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showState();
    void drawSample();

    RoomChoiceForm m_form;
    int m_tatamiBorders = 1;
};

} // namespace kov::dialogs

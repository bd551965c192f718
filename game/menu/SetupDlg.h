#pragma once
#include <cstdint>
#include <memory>
#include <string>

// The modal settings dialog of the word games: one page per game (1 apple, 2 frog, 3 mole,
// 4 space). Show returns true when something changed, was saved and the player wants it to take
// effect at once.
class SetupDlg : public std::enable_shared_from_this<SetupDlg> {
public:
    static std::shared_ptr<SetupDlg> Create();
    virtual ~SetupDlg() = default;

    virtual void SetPictures(const std::string& background, const std::string& btnDefault,
                             const std::string& btnOk, const std::string& btnCancel) = 0;
    virtual bool Show(int32_t page, int32_t x, int32_t y) = 0;

protected:
    SetupDlg() = default;
};

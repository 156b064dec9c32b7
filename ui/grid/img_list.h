#pragma once
// The strip of 18 icons of 20 by 20 pixels shared by the grids and the main window's buttons: the
// question mark of class 0, the emblems of the eleven player classes, the plus of the summons and the
// pictures of the main window's buttons. Drawn once, when the list is made.

#include <QIcon>
#include <QPixmap>
#include <array>

namespace tally::ui {

class ImgList {
  public:
    static constexpr int kCount = 18;
    static constexpr int kSize = 20;

    // Indices of the pictures that are not class icons.
    static constexpr int kQuestion = 0;
    static constexpr int kSummonPlus = 12;
    static constexpr int kCopy = 13;
    static constexpr int kClear = 14;
    static constexpr int kOpen = 15;
    static constexpr int kCalculate = 16;
    static constexpr int kSettings = 17;

    ImgList();

    static bool Has(long long index) { return index >= 0 && index < kCount; }
    // An empty pixmap or icon for an index outside 0..17.
    QPixmap pixmap(int index) const;
    QIcon icon(int index) const;

  private:
    std::array<QPixmap, kCount> pixmaps_;
    std::array<QIcon, kCount> icons_;
};

}  // namespace tally::ui

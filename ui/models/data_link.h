#pragma once
// The switchable link between a grid and the table it shows. Switched off, the grid shows no rows and
// does not follow the table (an analysis run does this while it fills the tables); switched on, the
// grid shows the table's current content and current row. A grid that changes tables keeps the
// link's state.

#include "models/linked_table_model.h"

namespace tally::ui {

class DataLink {
  public:
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool on) {
        enabled_ = on;
        if (model_)
            model_->setLinked(on);
    }

    LinkedTableModel* model() const { return model_; }
    // The model the grid shows from now on; the one it showed before lets its table go.
    void setModel(LinkedTableModel* model) {
        if (model_ == model)
            return;
        if (model_)
            model_->setLinked(false);
        model_ = model;
        if (model_)
            model_->setLinked(enabled_);
    }

  private:
    LinkedTableModel* model_ = nullptr;
    bool enabled_ = true;
};

}  // namespace tally::ui

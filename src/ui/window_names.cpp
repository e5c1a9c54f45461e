#include "ui/window_names.h"

#include "ui/quen_button.h"
#include "ui/quen_combo_box.h"
#include "ui/unit_window.h"

#include <QLineEdit>

namespace quenmark {

void NameUnitWindow(TfrmCalUnit& window, const TCaptionLookup& caption) {
    window.setWindowTitle(caption("QEN511"));
    window.cmbGroup->setAccessibleName(caption("QEN504"));
    window.cmbFromUnit->setAccessibleName(caption("QEN505"));
    window.cmbToUnit->setAccessibleName(caption("QEN506"));
    window.edtFromVar->setAccessibleName(caption("QEN507"));
    window.edtToVar->setAccessibleName(caption("QEN508"));
    window.btnHide->setAccessibleName(caption("QEN509"));
    window.update();
}

}  // namespace quenmark

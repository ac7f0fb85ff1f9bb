// The parallel port page: the port name of the dialog's copy.
#pragma once

#include <string>

#include "link_dialog_context.h"
#include "list_control.h"

namespace printer_link {

class ParallelPageModel {
public:
    explicit ParallelPageModel(LinkDialogCopy &copy);

    // Makes the copy a parallel port and shows its name.
    void fill();
    void chooseName(int position);
    void typeName(const std::string &text);

    const ListControl &name() const { return name_; }

    static constexpr int kNameLength = 19;

private:
    LinkDialogCopy &copy_;
    ListControl name_;
};

}  // namespace printer_link

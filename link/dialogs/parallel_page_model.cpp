#include "parallel_page_model.h"

#include "field_text.h"

namespace printer_link {

ParallelPageModel::ParallelPageModel(LinkDialogCopy &copy) : copy_(copy) {
    name_.fill({"LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6"}, 0);
}

void ParallelPageModel::fill() {
    copy_.port.PortType = kParallelPort;
    name_.text = fieldString(copy_.port.LPTPortName);
    name_.selected = name_.find(name_.text);
}

void ParallelPageModel::chooseName(int position) {
    if (!name_.has(position)) return;
    name_.select(position);
    storeFieldString(copy_.port.LPTPortName, name_.text);
}

void ParallelPageModel::typeName(const std::string &text) {
    name_.text = text;
    name_.selected = name_.find(text);
    storeFieldString(copy_.port.LPTPortName, text);
}

}  // namespace printer_link

// The serial port page: port name and line settings of the dialog's copy.
#pragma once

#include <string>
#include <vector>

#include "link_dialog_context.h"
#include "list_control.h"

namespace printer_link {

class SerialPageModel {
public:
    explicit SerialPageModel(LinkDialogCopy &copy);

    // The parity and flow-control names the language file gives, one per code in code order;
    // empty keeps the built-in names.
    void setParityNames(std::vector<std::string> names);
    void setFlowNames(std::vector<std::string> names);

    // Makes the copy a serial port and shows its settings.
    void fill();

    // Choosing or typing a port name.
    void chooseName(int position);
    void typeName(const std::string &text);
    void chooseSpeed(int position);
    void chooseDataBits(int position);
    void chooseStopBits(int position);
    void chooseParity(int position);
    void chooseFlow(int position);

    const ListControl &name() const { return name_; }
    const ListControl &speed() const { return speed_; }
    const ListControl &dataBits() const { return dataBits_; }
    const ListControl &stopBits() const { return stopBits_; }
    const ListControl &parity() const { return parity_; }
    const ListControl &flow() const { return flow_; }

    // The longest port name the record holds.
    static constexpr int kNameLength = 19;

private:
    LinkDialogCopy &copy_;
    ListControl name_, speed_, dataBits_, stopBits_, parity_, flow_;
};

}  // namespace printer_link

#include "serial_page_model.h"

#include "field_text.h"

namespace printer_link {
namespace {

int orDefault(int position, int fallback) { return position >= 0 ? position : fallback; }

}  // namespace

SerialPageModel::SerialPageModel(LinkDialogCopy &copy) : copy_(copy) {
    name_.fill({"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7"}, 0);
    speed_.fill({"2400", "4800", "9600", "19200", "38400", "56000", "57600", "115200"}, 4);
    dataBits_.fill({"7", "8"}, 1);
    stopBits_.fill({"1", "1.5", "2"}, kOneStopBit);
    parity_.fill({"None", "Odd", "Even", "Mark", "Space"}, kNoParity);
    flow_.fill({"DTR/DSR", "RTS/CTS", "XON/XOFF", "None"}, kRtsCtsFlow);
}

void SerialPageModel::setParityNames(std::vector<std::string> names) {
    if (!names.empty()) parity_.fill(std::move(names), 0);
}

void SerialPageModel::setFlowNames(std::vector<std::string> names) {
    if (!names.empty()) flow_.fill(std::move(names), kRtsCtsFlow);
}

void SerialPageModel::fill() {
    tagPORTINFO &port = copy_.port;
    port.PortType = kSerialPort;
    name_.text = fieldString(port.COMPortName);
    name_.selected = name_.find(name_.text);
    speed_.select(orDefault(speed_.find(std::to_string(port.BaudRate)), speed_.find("38400")));
    dataBits_.select(orDefault(dataBits_.find(std::to_string(port.DataSize)), dataBits_.find("8")));
    // A code without an entry shows no selection and stays as it is until one is chosen.
    stopBits_.select(port.StopBits);
    parity_.select(port.ParityBits);
    flow_.select(port.FlowControl);
}

void SerialPageModel::chooseName(int position) {
    if (!name_.has(position)) return;
    name_.select(position);
    storeFieldString(copy_.port.COMPortName, name_.text);
}

void SerialPageModel::typeName(const std::string &text) {
    name_.text = text;
    name_.selected = name_.find(text);
    storeFieldString(copy_.port.COMPortName, text);
}

void SerialPageModel::chooseSpeed(int position) {
    if (!speed_.has(position)) return;
    speed_.select(position);
    copy_.port.BaudRate = decimalValue(speed_.text);
}

void SerialPageModel::chooseDataBits(int position) {
    if (!dataBits_.has(position)) return;
    dataBits_.select(position);
    copy_.port.DataSize = decimalValue(dataBits_.text);
}

void SerialPageModel::chooseStopBits(int position) {
    if (!stopBits_.has(position)) return;
    stopBits_.select(position);
    copy_.port.StopBits = position;
}

void SerialPageModel::chooseParity(int position) {
    if (!parity_.has(position)) return;
    parity_.select(position);
    copy_.port.ParityBits = position;
}

void SerialPageModel::chooseFlow(int position) {
    if (!flow_.has(position)) return;
    flow_.select(position);
    copy_.port.FlowControl = position;
}

}  // namespace printer_link

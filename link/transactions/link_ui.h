// What the download step and the network search need from a user interface. The program's
// windows implement it with dialogs; the command-line front end and the tests with text.
#pragma once

#include <string>
#include <vector>

namespace printer_link {

enum class MessageKind { Information, Error };

class LinkUi {
public:
    virtual ~LinkUi() = default;

    // The agreement prompt before a TrueType download; false when the user declines.
    virtual bool confirmDownload() = 0;

    // Shows the position (0 to 100) of the transfer or search progress bar.
    virtual void showProgress(int percent) = 0;

    // Shows a numbered message.
    virtual void showMessage(int number, MessageKind kind) = 0;
};

}  // namespace printer_link

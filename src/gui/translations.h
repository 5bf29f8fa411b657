// Qt's own texts (the buttons of message boxes, the file dialogs) in Chinese, like the window.
#pragma once

class QCoreApplication;

namespace nx5rb {

// Loads Qt's Chinese translation into the application; false when it is not installed (the
// standard buttons then stay in English).
bool InstallQtTranslations(QCoreApplication &app);

} // namespace nx5rb

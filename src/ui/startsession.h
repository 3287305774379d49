#pragma once

#include <QStringList>

namespace kelvara {

class MainWindow;
class RecoveryFile;

// What a start does once the window is shown: the design a run that did not
// exit left behind is offered back; otherwise a project file named as the
// first argument is opened. From then on the design is kept in `recovery`
// (when given) a few seconds after each change.
void startSession(MainWindow& window, RecoveryFile* recovery, const QStringList& arguments);

} // namespace kelvara

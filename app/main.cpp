#include "app/AssetFolder.h"
#include "app/FrameLoop.h"
#include "app/ProgramState.h"
#include "app/SceneSetup.h"
#include "app/Startup.h"

// Qex: start-up, the frame loop, teardown.
int main() {
    if (!enterAssetFolder()) return kStartupFailed;
    settings = loadSettings();
    if (!startWindowAndContext()) return kStartupFailed;

    Scene scene;
    setUpScene(scene);
    runFrameLoop(scene);

    tearDownScene(scene);
    shutDownWindowAndContext();
    return 0;
}

#include "app/AssetFolder.h"
#include "app/FrameLoop.h"
#include "app/ProgramState.h"
#include "app/SceneSetup.h"
#include "app/Startup.h"
#include "game/BulletBlockPool.h"

// Qex: start-up, the frame loop, teardown.
int main(int argc, char* argv[]) {
    BulletBlockPool::install();
    commandLine = parseCommandLine(argc, argv);
    if (commandLine.exitStatus) return *commandLine.exitStatus;
    if (!enterAssetFolder()) return kStartupFailed;
    loadStartupSettings();
    if (!chooseFirstScreen()) return kStartupFailed;
    if (!startWindowAndContext()) return kStartupFailed;

    Scene scene;
    setUpScene(scene);
    runFrameLoop(scene);

    tearDownScene(scene);
    shutDownWindowAndContext();
    return 0;
}

#include "app/startup.h"

#include <GL/glut.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include "app/frame_loop.h"
#include "app/input_callbacks.h"
#include "app/viewer.h"
#include "view/shown_scene.h"
#include "view/software_path.h"

namespace rv {

namespace {

// GLUT reports a missing display with its own raw message and exit status 1;
// asking X first lets us say what to do and exit 2 like any other start-up fault.
bool displayOpens(const std::vector<std::string>& glutArguments) {
    const char* name = nullptr;
    for (size_t i = 1; i + 1 < glutArguments.size(); ++i)
        if (glutArguments[i] == "-display") name = glutArguments[i + 1].c_str();
    ::Display* display = XOpenDisplay(name);
    if (!display) return false;
    XCloseDisplay(display);
    return true;
}

} // namespace

std::string startViewer(int& argc, char** argv, const ViewerOptions& options) {
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(480, 480);
    glutInit(&argc, argv);
    if (argc > 1) return std::string("unexpected argument '") + argv[1] + "'";
    glutCreateWindow("Class Framework");
    glutDisplayFunc(displayFrame);
    glutReshapeFunc(reshapeWindow);
    glutKeyboardFunc(keyPressed);
    glutSpecialFunc(specialKeyPressed);
    glutMouseFunc(mouseButton);
    glutMotionFunc(mouseMotion);
    glutIdleFunc(idleRedraw);
    viewer.scene.simd = options.common.simd;
    capSimdTargets(options.common);
    prepareRendering(viewer.scene, viewer.frame);
    viewer.software.emplace(options.common.threads, options.present);
    viewer.view.present = options.present;
    viewer.shotsDirectory = options.shotsDirectory;
    if (!options.common.model.empty())
        viewer.modelPath = std::filesystem::absolute(options.common.model).lexically_normal().string();
    viewer.importLimits = options.common.import;
    return {};
}

int viewerMain(int argc, char** argv) {
    auto fail = [](const std::string& why) {
        std::fprintf(stderr, "rasterview: %s\nTry 'rasterview --help' for the options.\n", why.c_str());
        return 2;
    };
    ViewerCommandLine commandLine = parseViewerCommandLine({argv, argv + argc});
    switch (commandLine.action) {
    case ReadArguments::Action::help: std::fwrite(viewerUsageText().data(), 1, viewerUsageText().size(), stdout); return 0;
    case ReadArguments::Action::reject: return fail(commandLine.error);
    case ReadArguments::Action::run: break;
    }
    // Before any window: a file that cannot be shown ends the run with its one line,
    // like any other bad argument, whether or not there is a display.
    std::vector<std::string> warnings;
    const std::string sceneError = buildShownScene(viewer.scene, commandLine.options.common, warnings);
    if (!reportSceneLoad("rasterview", sceneError, warnings)) return 2;
    if (!displayOpens(commandLine.glutArguments)) {
        std::fputs("rasterview: no X display (DISPLAY is unset or cannot be opened); run it on a desktop or under "
                   "xvfb-run\n",
                   stderr);
        return 2;
    }
    std::vector<char*> glutArgv;
    for (std::string& a : commandLine.glutArguments) glutArgv.push_back(a.data());
    glutArgv.push_back(nullptr);
    int glutArgc = static_cast<int>(commandLine.glutArguments.size());
    if (const std::string why = startViewer(glutArgc, glutArgv.data(), commandLine.options); !why.empty())
        return fail(why);
    glutMainLoop();
    return 0;
}

} // namespace rv

#include "app/startup.h"

#include <GL/glut.h>

#include <cstdio>
#include <vector>

#include "app/frame_loop.h"
#include "app/input_callbacks.h"
#include "app/viewer.h"
#include "view/software_path.h"

namespace rv {

std::string startViewer(int& argc, char** argv, const ViewerOptions& options) {
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(480, 480);
    glutInit(&argc, argv);
    if (argc > 1) return std::string("unexpected argument '") + argv[1] + "'";
    glutCreateWindow("Class Framework");
    glutDisplayFunc(displayFrame);
    glutReshapeFunc(reshapeWindow);
    glutKeyboardFunc(keyPressed);
    glutMouseFunc(mouseButton);
    glutMotionFunc(mouseMotion);
    glutIdleFunc(idleRedraw);
    initScene(viewer.scene);
    viewer.scene.simd = options.common.simd;
    prepareRendering(viewer.scene, viewer.frame);
    viewer.software.emplace(options.common.threads, options.present);
    viewer.shotsDirectory = options.shotsDirectory;
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

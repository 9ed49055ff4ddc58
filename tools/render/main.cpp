// lucivanta-render: renders Lucivanta's scene without a display and writes PNG files.
#include "render_options.h"
#include "render_run.h"

#include <cstdio>

int main(int argc, char** argv)
{
    Render_Options options;
    std::string error;
    if (!Parse_Render_Options(argc, argv, options, error)) {
        std::fprintf(stderr, "lucivanta-render: %s\n\n%s", error.c_str(), Render_Usage());
        return 2;
    }
    if (options.Help) {
        std::fputs(Render_Usage(), stdout);
        return 0;
    }
    return Run_Render(options);
}

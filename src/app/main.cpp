#include "app/Startup.h"

int main(int argc, char** argv) {
    return dravik::RunProgram({argv + 1, argv + argc});
}

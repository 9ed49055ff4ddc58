// The process-wide random generator.
#include "platform/system/random.h"

Random_Generator& Program_Random()
{
    static Random_Generator generator;
    return generator;
}

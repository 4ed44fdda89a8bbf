// A library that loads but is no sound module: the player must stay silent with it.
#include <QtGlobal>

extern "C" Q_DECL_EXPORT int kv_not_a_sound_module()
{
    return 0;
}

#pragma once
// Resource numbers of the built-in pictures, shared by the resource script and the code.
#define IDI_ORVELUND 1
#define IDR_MAIN_PICTURE 101
#define IDR_BUTTON_INSTRUCTIONS 102
#define IDR_BUTTON_WEBSITE 103
#define IDR_BUTTON_EXPLORE 104
#define IDR_BUTTON_UPDATE 105
#define IDR_ARROW_UP 106
#define IDR_ARROW_DOWN 107

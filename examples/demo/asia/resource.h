//{{NO_DEPENDENCIES}}
// Symbols of the Quillon Asia Demo resources.
// Used by asiademo.rc and its translations
//
#define IDD_WORLDCLOCK                  100
#define IDR_MAINFRAME                   128
#define IDB_CLOCK                       130
#define IDS_READY                       200
#define IDS_TIME_FORMAT                 201
#define IDS_CITY_TOKYO                  210
#define IDS_CITY_SEOUL                  211
#define IDS_CITY_BEIJING                212
#define IDS_CITY_LONDON                 213
#define IDC_STATIC                      -1
#define IDC_CITY                        1000
#define IDC_TIME                        1001
#define IDC_24HOUR                      1002
#define ID_FILE_EXIT                    32771
#define ID_VIEW_24HOUR                  32772
#define ID_HELP_ABOUT                   32773

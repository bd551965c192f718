#pragma once
#include "PictureSet.h"

// One drawing function per screen or theme; each adds its pictures by name.
namespace assetgen {

void addSharedPictures(PictureSet& set);  // icon, check box, slider, drop-down
void drawIcon(cairo_t* cr);               // the program icon on a 64 x 64 area
void addDialogPictures(PictureSet& set);  // dialogs, settings dialogs, their buttons
void addMenuPictures(PictureSet& set);    // main menu screens and buttons
void addSpeakerButtons(PictureSet& set);  // the main menu's sound switch
void addPolicePictures(PictureSet& set);  // police screens, panels, buttons
void addPoliceMap(PictureSet& set);       // the town map of the race
void addPoliceSprites(PictureSet& set);   // police and thief strips
void addApplePictures(PictureSet& set);
void addMolePictures(PictureSet& set);
void addFrogPictures(PictureSet& set);
void addSpacePictures(PictureSet& set);

inline PictureSet drawAllPictures() {
    PictureSet set;
    addSharedPictures(set);
    addDialogPictures(set);
    addMenuPictures(set);
    addSpeakerButtons(set);
    addPolicePictures(set);
    addPoliceMap(set);
    addPoliceSprites(set);
    addApplePictures(set);
    addMolePictures(set);
    addFrogPictures(set);
    addSpacePictures(set);
    return set;
}

}  // namespace assetgen

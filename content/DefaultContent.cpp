#include "content/DefaultContent.h"

std::string VersionText(const Version& v) {
    return std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.revision);
}

std::string UpdateAddress(const Version& v) {
    return std::string("http://") + kPublisherHost + "/cgi-bin/update.cgi?soft=Orvelund&vers=" + VersionText(v);
}

std::vector<std::string> DefaultMenuEntries(const Version& v) {
    const std::string host = kPublisherHost;
    return {
        "Instructions,How to use Orvelund,content\\instructions.htm,open",
        "Website,Visit " + host + ",http://" + host + ",open",
        "Explore,Explore Files,.,explore",
        "Updates,Online Check for Updates," + UpdateAddress(v) + ",open",
    };
}

std::vector<std::string> AutoRunLines(const std::string& caption, bool haveIcon, const std::string& exeName) {
    // open= and the command are command lines: a name with a blank needs quotes there.
    const std::string command = exeName.find(' ') == std::string::npos ? exeName : "\"" + exeName + "\"";
    return {
        "[AutoRun]",
        "action=Orvelund",
        "open=" + command,
        "ShellExecute=" + exeName,
        "shell\\Run\\command=" + command,
        "shell\\Run=" + caption,
        haveIcon ? "icon=content\\app.ico,0" : "icon=" + exeName + ",0",
        "label=" + caption,
    };
}

std::vector<std::string> InstructionsPage() {
    const std::string host = kPublisherHost;
    const std::string link = "<p align=\"center\"><a href=\"http://" + host + "\" target=\"_blank\">" + host + "</a></p>";
    // Written exactly as the guide has always read, doubled blanks and slips included.
    return {
        "<html><head><title>Orvelund</title></head>",
        "<body>",
        "<p align=\"center\"><table align=\"center\" width=\"623\" cellpadding=\"10\" cellspacing=\"5\"><tr><td>",
        "<h3>This application is designed to launch  a custom menu either using autorun when a CD, DVD or USB key is inserted into a Windows machine, or by running the Orvelund Executable.</h3>",
        "<p>When you completed the setup wizard a number of files were created:",
        "<ul><li><b>app.jpg</b> is the image displayed above the menu (and above). </li><li><b>app.ico</b> is the icon for the removable drive in Windows Explorer.</li><li><b>autorun.inf</b> is the autorun file for removable drives or CDs/DVDs.</li><li><b>config.ini</b> is the application configuration file for the menu items and title.</li><li><b>instructions.htm</b> is this file with instructions. </li><li><b>Instructions.jpg</b> is a sample menu button.</li></ul></p>",
        "<p>The default image sizes are: <ul><li><b>app.ico</b> 16 colors(4 bits) 64x64 Pixels </li><li><b>app.jpg</b> 624x207 Pixels</li><li><b>Instructions.jpg (button)</b> 137x33 Pixels</li></ul></p>",
        "<p>You can change them as much as you like to configure your menu and the program will use your modified files.</p>",
        "<p>Only config.ini, autorun.inf and app.jpg are required for the menu. The other files will only be created when a new config.ini is created.</p>",
        "<p>Images will display best if the image size is not changed. You can use a white background to make the image appear smaller.</p>",
        "<p></p>",
        "<p><b>Running the Menu Editor.</b></p>",
        "<p>The setup wizard runs at first launch if no configuration file is found. It will create a configuration file and open the Menu Editor.  You can restart the setup wizard by deleting the content folder created or access the Menu Editor by right clicking with your mouse on the main picture on the menu screen or by using the command line.</p>",
        "<p></p>",
        "<p><b>Command Line Options</b></p>",
        "<p>Orvelund.exe -? -setup<ul><li>[-?] Help</li><li>[-setup] Setup Wizard</li></ul></p>",
        "<p></p>",
        "<p><b>Updating Menu Items Manually in config.ini</b></p>",
        "<p>An unlimited number of menu buttons can be configured by editing the Config.ini file which is create in the application directory.  If you accidentally corrupt your config file, change it incorrectly or want to reset the program simply delete it and any other generated files you want replaced and it will reset on next launch.</p>",
        "<p>While you can add an unlimited number of menu items I can only show 10, so if you have more than 10 some Next and Previous buttons will appear to allow you to scroll through the menu.</p>",
        "<p>Applications are added to config.ini in the following format:<br/>[Button Name], [Button Label], [File or Folder name], [Action]</p>",
        "<p>Actions for Files can be 'open', 'edit'. or 'print', Folders can 'open' or 'explore' (e.g. Folder name '.' is for the current folder and '..' for one up and '\\' for root of current drive).</p>",
        "<p>Any files launched are opened using the default application on the machine.</p>",
        "<p></p>",
        "<p><b>Adding Images to Buttons</b></p>",
        "<p>For each button the application will look for a JPEG image with the same name and display it if found.</p>",
        "<p>For example if the button title is 'WebSite' then the image must be called 'WebSite.jpg'.</p>",
        "<p></p>",
        "<p><b>Using Microsoft Office Powerpoint Slideshows</b></p>",
        "<p>To make a Powerpoint slideshow play immediately instead of opening in edit mode save it as a PowerPoint Show or make the change indicated below.",
        "<ul><li>Office 2003 or earlier: Rename *.ppt files to *.pps</li><li>Office 2007 or later: Rename *.pptx files to *.ppsx</li></ul></p>",
        "</td></tr></table></p>",
        link,
        "</body></html>",
    };
}

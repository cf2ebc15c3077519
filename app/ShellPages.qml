import QtQuick

// The pages the shell shows, handed down from the window that composes the app. Each page is made with
// the required properties appState, memberData and navigation.
QtObject {
    property Component dashboard
    property Component administrator
    property Component flights
    property Component live
    property Component map
    property Component account
    // Pages pushed on the stacks: an event above the home page, a report or report form above the flights
    // tab, and the account tab's legal texts, profile editing and profile.
    property Component event
    property Component flightRoute
    property Component accountRoute
}

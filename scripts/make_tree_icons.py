#!/usr/bin/env python3
"""Draws the pictures of the tree's image list as SVG files.

Writes components/ui/icons/<key>.svg for every image key and
components/ui/TreeIcons.qrc. Categories are folders with an emblem (closed
while not selected, open while selected); the other kinds are drawn whole,
with a soft highlight behind the picture of the selected variant.

Run from the repository root: scripts/make_tree_icons.py
"""

import os
import sys

OUT = os.path.join("components", "ui", "icons")
QRC = os.path.join("components", "ui", "TreeIcons.qrc")

INK = "#3b3b3b"

# Emblems of the category icons, drawn in a 20 x 20 box.
EMBLEMS = {
    "Dir": "",
    "DirKey": """<circle cx="6" cy="10" r="4.5" fill="#f2c230" stroke="#8a6a00" stroke-width="1.2"/>
<circle cx="5" cy="10" r="1.4" fill="#fff"/>
<path d="M10 9h9v2.4h-2v2.6h-2.2v-2.6h-1.6v2h-2v-2H10z" fill="#f2c230" stroke="#8a6a00" stroke-width="1"/>""",
    "DirTool": """<path d="M13.5 2.5a4.5 4.5 0 0 0-4 6.3L2.8 15.5a1.8 1.8 0 0 0 2.6 2.6l6.7-6.7a4.5 4.5 0 0 0 6.3-4l-2.8 1.6-2.6-1.5.1-3z"
 fill="#9aa4ad" stroke="#49525a" stroke-width="1.1" stroke-linejoin="round"/>""",
    "DirStar": """<path d="M10 1.5l2.6 5.4 5.9.8-4.3 4.1 1 5.8L10 14.8l-5.2 2.8 1-5.8-4.3-4.1 5.9-.8z" fill="#ffd23f" stroke="#b88a00" stroke-width="1.1" stroke-linejoin="round"/>""",
    "DirCard": """<rect x="1.5" y="4" width="17" height="12" rx="1.5" fill="#e9f1fb" stroke="#4a6d92" stroke-width="1.1"/>
<circle cx="6" cy="9" r="2" fill="#4a6d92"/><path d="M3.2 14a2.8 2.8 0 0 1 5.6 0z" fill="#4a6d92"/>
<path d="M10.5 8h6M10.5 10.5h6M10.5 13h4" stroke="#4a6d92" stroke-width="1.2"/>""",
    "DirUser": """<circle cx="10" cy="6.5" r="3.8" fill="#f0c8a0" stroke="#7a5434" stroke-width="1"/>
<path d="M3 18.5a7 6 0 0 1 14 0z" fill="#3f7fbf" stroke="#24507d" stroke-width="1"/>""",
    "DirLegal": """<path d="M10 2v15M5 18h10M3 5h14" stroke="#6b4f1d" stroke-width="1.4" stroke-linecap="round"/>
<path d="M3 5l-2.5 6h5zM17 5l-2.5 6h5z" fill="#e7c66a" stroke="#6b4f1d" stroke-width="1" stroke-linejoin="round"/>""",
    "DirBip": """<rect x="3" y="3" width="14" height="15" rx="2.5" fill="#545b64" stroke="#24282d" stroke-width="1"/>
<rect x="5" y="5" width="10" height="5" rx=".8" fill="#a8e6a0"/><circle cx="7" cy="14" r="1.3" fill="#ddd"/><circle cx="13" cy="14" r="1.3" fill="#ddd"/>
<path d="M14.5 1l3-1" stroke="#e53935" stroke-width="1.2"/>""",
    "DirTheStar": """<path d="M10 1l2 7 7 2-7 2-2 7-2-7-7-2 7-2z" fill="#c07cf0" stroke="#6b2c99" stroke-width="1" stroke-linejoin="round"/>
<circle cx="16.5" cy="3.5" r="1.3" fill="#c07cf0"/>""",
    "DirToy": """<circle cx="10" cy="10" r="8" fill="#fff" stroke="#555" stroke-width="1"/>
<path d="M10 2a8 8 0 0 1 7.6 5.6L10 10z" fill="#e53935"/><path d="M17.6 12.4A8 8 0 0 1 10 18L10 10z" fill="#1e88e5"/>
<path d="M5.4 16.6A8 8 0 0 1 2.4 7.6L10 10z" fill="#fdd835"/>""",
    "DirMusic": """<path d="M7 15V4l10-2v11" fill="none" stroke="#2d2d8a" stroke-width="1.6"/>
<ellipse cx="5" cy="15.5" rx="3" ry="2.3" fill="#2d2d8a"/><ellipse cx="15" cy="13.5" rx="3" ry="2.3" fill="#2d2d8a"/>""",
    "DirCat": """<ellipse cx="10" cy="13.5" rx="4.6" ry="4" fill="#8d5b3a"/><ellipse cx="4" cy="8.5" rx="2" ry="2.6" fill="#8d5b3a"/>
<ellipse cx="8" cy="4.5" rx="2" ry="2.6" fill="#8d5b3a"/><ellipse cx="12.5" cy="4.5" rx="2" ry="2.6" fill="#8d5b3a"/>
<ellipse cx="16.3" cy="8.5" rx="2" ry="2.6" fill="#8d5b3a"/>""",
    "DirAlarm": """<circle cx="10" cy="11" r="7" fill="#fff" stroke="#c62828" stroke-width="1.6"/>
<path d="M10 7v4.5l3 1.8" fill="none" stroke="#333" stroke-width="1.3" stroke-linecap="round"/>
<path d="M1.5 5.5l4-3.5M18.5 5.5l-4-3.5" stroke="#c62828" stroke-width="1.8" stroke-linecap="round"/>""",
    "DirTableKey": """<rect x="1.5" y="3" width="17" height="14" fill="#fff" stroke="#555" stroke-width="1.1"/>
<rect x="1.5" y="3" width="17" height="4" fill="#7f9cc0"/><path d="M1.5 10.5h17M1.5 14h17M7.2 3v14M12.8 3v14" stroke="#555" stroke-width=".9"/>""",
    "DirReclamation": """<path d="M10 1.5l9 16.5H1z" fill="#ffca28" stroke="#9a6b00" stroke-width="1.1" stroke-linejoin="round"/>
<path d="M10 6.5v6" stroke="#333" stroke-width="2.2" stroke-linecap="round"/><circle cx="10" cy="15.4" r="1.2" fill="#333"/>""",
    "DirTitle": """<rect x="2" y="2" width="16" height="16" rx="2" fill="#fff" stroke="#555" stroke-width="1"/>
<path d="M5 5.5h10M10 5.5v10" stroke="#1a237e" stroke-width="2.6" stroke-linecap="square"/>""",
    "DirRule": """<path d="M3.5 9.5l6-6 3 3-6 6z" fill="#8d6e63" stroke="#4e342e" stroke-width="1" stroke-linejoin="round"/>
<path d="M9.5 9.5l8 8" stroke="#4e342e" stroke-width="2.2" stroke-linecap="round"/><rect x="1" y="16.5" width="10" height="2.5" rx=".8" fill="#4e342e"/>""",
    "DirStarBlue": """<path d="M10 1.5l2.6 5.4 5.9.8-4.3 4.1 1 5.8L10 14.8l-5.2 2.8 1-5.8-4.3-4.1 5.9-.8z" fill="#42a5f5" stroke="#0d47a1" stroke-width="1.1" stroke-linejoin="round"/>""",
    "DirProcess": """<rect x="1" y="2" width="7" height="5" rx="1" fill="#80cbc4" stroke="#00695c" stroke-width="1"/>
<rect x="12" y="13" width="7" height="5" rx="1" fill="#80cbc4" stroke="#00695c" stroke-width="1"/>
<path d="M4.5 7v8h5" fill="none" stroke="#00695c" stroke-width="1.3"/><path d="M9.5 12.5l3 2.5-3 2.5z" fill="#00695c"/>""",
    "DirBlue": """<rect x="3" y="3" width="14" height="14" rx="1" fill="#1e63d6" stroke="#0b2f6e" stroke-width="1.2"/>""",
    "DirFlag": """<path d="M4 19V2" stroke="#5d4037" stroke-width="1.6" stroke-linecap="round"/>
<path d="M4.8 2.5c3.5-1.5 6.5 2 11 .5v8c-4.5 1.5-7.5-2-11-.5z" fill="#e53935" stroke="#8e1b19" stroke-width="1"/>""",
    "DirSelect": """<rect x="2" y="3" width="14" height="14" rx="2" fill="#fff" stroke="#555" stroke-width="1.1"/>
<path d="M5 10l3.5 3.5L18.5 3" fill="none" stroke="#2e7d32" stroke-width="2.4" stroke-linecap="round" stroke-linejoin="round"/>""",
    "DirArrow": """<path d="M1.5 7.5h9.5V3l7.5 7-7.5 7v-4.5H1.5z" fill="#43a047" stroke="#1b5e20" stroke-width="1.1" stroke-linejoin="round"/>""",
    "DirTime": """<path d="M4 1.5h12M4 18.5h12" stroke="#5d4037" stroke-width="1.8" stroke-linecap="round"/>
<path d="M5 2c0 5 4 6 4 8s-4 3-4 8h10c0-5-4-6-4-8s4-3 4-8z" fill="#fff8e1" stroke="#5d4037" stroke-width="1"/>
<path d="M6.5 17.5c.5-2.5 3.5-3 3.5-4.5 0 1.5 3 2 3.5 4.5zM7 5h6l-3 3z" fill="#f9a825"/>""",
    "DirInfo": """<circle cx="10" cy="10" r="8.5" fill="#1e88e5" stroke="#0d47a1" stroke-width="1"/>
<circle cx="10" cy="5.6" r="1.5" fill="#fff"/><path d="M10 8.5v7" stroke="#fff" stroke-width="2.6" stroke-linecap="round"/>""",
    "DirWeb": """<circle cx="10" cy="10" r="8.5" fill="#b3e5fc" stroke="#0277bd" stroke-width="1.1"/>
<path d="M1.5 10h17M10 1.5v17M10 1.5c-4.5 4-4.5 13 0 17M10 1.5c4.5 4 4.5 13 0 17M3 5.5h14M3 14.5h14" fill="none" stroke="#0277bd" stroke-width=".9"/>""",
    "DirChat": """<path d="M2 3.5h16v10H8l-4.5 4v-4H2z" fill="#fff" stroke="#1565c0" stroke-width="1.2" stroke-linejoin="round"/>
<circle cx="6" cy="8.5" r="1.2" fill="#1565c0"/><circle cx="10" cy="8.5" r="1.2" fill="#1565c0"/><circle cx="14" cy="8.5" r="1.2" fill="#1565c0"/>""",
    "DirWebPhone": """<path d="M4.5 1.5l3.5 3.5-2 2.5c1 2.5 4 5.5 6.5 6.5l2.5-2 3.5 3.5-2.5 3C9 18 2 11 1.5 4z" fill="#26a69a" stroke="#004d40" stroke-width="1" stroke-linejoin="round"/>""",
    "DirPhoto": """<rect x="1" y="5" width="18" height="12.5" rx="2" fill="#607d8b" stroke="#263238" stroke-width="1"/>
<path d="M6 5l1.5-2.5h5L14 5z" fill="#455a64"/><circle cx="10" cy="11" r="4" fill="#cfd8dc" stroke="#263238" stroke-width="1.2"/>
<circle cx="10" cy="11" r="1.8" fill="#263238"/><rect x="14.5" y="6.5" width="2.5" height="1.5" fill="#ffeb3b"/>""",
    "DirMessenger": """<path d="M1 9.5L19 2l-4 16-5.5-5L17 5 7 11.5z" fill="#29b6f6" stroke="#01579b" stroke-width="1" stroke-linejoin="round"/>
<path d="M7 11.5l1 5.5 1.5-4" fill="#0288d1" stroke="#01579b" stroke-width=".8"/>""",
    "DirDesktop": """<rect x="1" y="2" width="18" height="12" rx="1" fill="#263238" stroke="#111" stroke-width="1"/>
<rect x="2.5" y="3.5" width="15" height="9" fill="#4fc3f7"/><path d="M8 14l-1 4h6l-1-4z" fill="#78909c"/><path d="M5 18.5h10" stroke="#455a64" stroke-width="1.5"/>""",
    "DirRecycle": """<g fill="none" stroke="#2e7d32" stroke-width="2" stroke-linejoin="round">
<path d="M7.5 5.5l2.5-4 3 5"/><path d="M16 9.5l2.5 4.5H13"/><path d="M7 17H2l2.5-4.5"/></g>
<path d="M11.5 7.8l3-1.5.3 3.3zM12.5 17.5l-2.5 2v-4zM4 10l.6-3.3 2.8 1.8z" fill="#2e7d32"/>""",
    "DirServer": """<rect x="4" y="1" width="12" height="18" rx="1.5" fill="#90a4ae" stroke="#37474f" stroke-width="1"/>
<path d="M6 5h8M6 9h8M6 13h8" stroke="#37474f" stroke-width="1.4"/><circle cx="13.5" cy="16.5" r="1" fill="#76ff03"/>""",
    "DirStop": """<path d="M6.3 1h7.4L19 6.3v7.4L13.7 19H6.3L1 13.7V6.3z" fill="#e53935" stroke="#7f0000" stroke-width="1"/>
<path d="M5 10h10" stroke="#fff" stroke-width="3" stroke-linecap="round"/>""",
    "DirMail": """<rect x="1" y="4" width="18" height="12.5" rx="1" fill="#fff" stroke="#b71c1c" stroke-width="1.1"/>
<path d="M1.5 4.5l8.5 7 8.5-7M1.5 16l6-6M18.5 16l-6-6" fill="none" stroke="#b71c1c" stroke-width="1.1"/>""",
    "DirServerRed": """<rect x="4" y="1" width="12" height="18" rx="1.5" fill="#ef5350" stroke="#7f0000" stroke-width="1"/>
<path d="M6 5h8M6 9h8M6 13h8" stroke="#7f0000" stroke-width="1.4"/><circle cx="13.5" cy="16.5" r="1" fill="#ffeb3b"/>""",
    "DirFolder": """<path d="M3 4h5l1.5 2H18v10H3z" fill="#a1887f" stroke="#4e342e" stroke-width="1"/>
<path d="M1 7h5l1.5 2H16v9H1z" fill="#d7ccc8" stroke="#4e342e" stroke-width="1"/>""",
    "DirGroup": """<circle cx="5" cy="6.5" r="2.6" fill="#f0c8a0" stroke="#7a5434" stroke-width=".8"/>
<circle cx="15" cy="6.5" r="2.6" fill="#f0c8a0" stroke="#7a5434" stroke-width=".8"/>
<path d="M.5 16a4.5 4.5 0 0 1 9 0zM10.5 16a4.5 4.5 0 0 1 9 0z" fill="#7cb342" stroke="#33691e" stroke-width=".8"/>
<circle cx="10" cy="8.5" r="3" fill="#f0c8a0" stroke="#7a5434" stroke-width=".8"/>
<path d="M4.5 19a5.5 5 0 0 1 11 0z" fill="#fb8c00" stroke="#e65100" stroke-width=".8"/>""",
    "DirProcessKey": """<path d="M7 1.5l1 2 2.2.3.4 2.2 2 1-.9 2 .9 2-2 1-.4 2.2-2.2.3-1 2-1-2-2.2-.3-.4-2.2-2-1 .9-2-.9-2 2-1 .4-2.2L6 3.5z" fill="#90a4ae" stroke="#37474f" stroke-width=".9"/>
<circle cx="7" cy="9.5" r="2" fill="#fff"/>
<circle cx="13.5" cy="15" r="3" fill="#f2c230" stroke="#8a6a00" stroke-width="1"/><path d="M15.5 13l3.5-3.5M17.5 11l1.5 1.5" stroke="#8a6a00" stroke-width="1.6"/>""",
    "DirBlog": """<path d="M10 1l6 7-4 10H8L4 8z" fill="#ff7043" stroke="#8d2c0a" stroke-width="1" stroke-linejoin="round"/>
<path d="M10 6v6" stroke="#8d2c0a" stroke-width="1.1"/><circle cx="10" cy="12.5" r="1.3" fill="#8d2c0a"/><rect x="7.5" y="17.5" width="5" height="2" fill="#8d2c0a"/>""",
    "DirSkype": """<circle cx="10" cy="10" r="8.5" fill="#03a9f4" stroke="#01579b" stroke-width="1"/>
<path d="M13.5 6.5c-1-1.5-6-2-6.5.8-.6 3.2 7.2 1.7 6.5 5.2-.5 2.6-5.5 2.3-7-.3" fill="none" stroke="#fff" stroke-width="2" stroke-linecap="round"/>""",
    "DirPlayer": """<circle cx="10" cy="10" r="8.5" fill="#ff9800" stroke="#e65100" stroke-width="1"/><path d="M7.5 5.5v9l7.5-4.5z" fill="#fff"/>""",
    "DirWord": """<path d="M3 1h10l4 4v14H3z" fill="#fff" stroke="#1565c0" stroke-width="1.1" stroke-linejoin="round"/>
<path d="M13 1v4h4" fill="#bbdefb" stroke="#1565c0" stroke-width="1"/>
<path d="M5.5 8h9M5.5 11h9M5.5 14h9M5.5 17h6" stroke="#1565c0" stroke-width="1.2"/>""",
    "DirExcel": """<rect x="2" y="2" width="16" height="16" rx="1" fill="#e8f5e9" stroke="#1b5e20" stroke-width="1.1"/>
<path d="M2 6.5h16M2 10.5h16M2 14.5h16M7.5 2v16M12.5 2v16" stroke="#2e7d32" stroke-width=".9"/>
<rect x="7.5" y="6.5" width="5" height="4" fill="#66bb6a"/>""",
    "DirStat": """<circle cx="10" cy="10" r="8.5" fill="#ffee58" stroke="#555" stroke-width="1"/>
<path d="M10 10V1.5a8.5 8.5 0 0 1 8.2 10.7z" fill="#ef5350" stroke="#555" stroke-width="1"/>
<path d="M10 10l8.2 2.2A8.5 8.5 0 0 1 5 16.9z" fill="#42a5f5" stroke="#555" stroke-width="1"/>""",
    "DirMovie": """<rect x="1" y="8" width="18" height="10" rx="1" fill="#37474f" stroke="#111" stroke-width="1"/>
<path d="M1 3.5l17-3 1 4.5-17 3z" fill="#eceff1" stroke="#111" stroke-width="1"/>
<path d="M4.5 3l2.5 4M9.5 2l2.5 4M14.5 1.2l2.5 4" stroke="#111" stroke-width="1.4"/><path d="M4 12h12" stroke="#90a4ae" stroke-width="1"/>""",
    "DirSettings": """<path d="M2 5h16M2 10h16M2 15h16" stroke="#616161" stroke-width="1.6" stroke-linecap="round"/>
<rect x="5" y="2.5" width="3.5" height="5" rx="1" fill="#7e57c2" stroke="#311b92" stroke-width=".9"/>
<rect x="12" y="7.5" width="3.5" height="5" rx="1" fill="#7e57c2" stroke="#311b92" stroke-width=".9"/>
<rect x="8" y="12.5" width="3.5" height="5" rx="1" fill="#7e57c2" stroke="#311b92" stroke-width=".9"/>""",
    "DirSearch": """<circle cx="8" cy="8" r="5.8" fill="#e3f2fd" stroke="#37474f" stroke-width="2"/>
<path d="M12.3 12.3l6 6" stroke="#37474f" stroke-width="3" stroke-linecap="round"/>""",
    "DirSpell": """<rect x="1" y="1" width="11" height="11" rx="1.5" fill="#fff" stroke="#1565c0" stroke-width="1"/>
<path d="M3.5 10L6.5 3l3 7M4.6 7.5h3.8" fill="none" stroke="#1565c0" stroke-width="1.3"/>
<rect x="8" y="8" width="11" height="11" rx="1.5" fill="#ffebee" stroke="#c62828" stroke-width="1"/>
<path d="M10.5 11h6M13.5 10v2M11 17c3-1 5-3 5.5-6M12 13.5c1 2 3 3 4.5 3.5" fill="none" stroke="#c62828" stroke-width="1.1"/>""",
    "DirDetail": """<rect x="1.5" y="1.5" width="17" height="17" rx="1.5" fill="#fff" stroke="#555" stroke-width="1"/>
<circle cx="5" cy="6" r="1.3" fill="#ef6c00"/><circle cx="5" cy="10" r="1.3" fill="#ef6c00"/><circle cx="5" cy="14" r="1.3" fill="#ef6c00"/>
<path d="M8 6h8M8 10h8M8 14h8" stroke="#555" stroke-width="1.3"/>""",
    "DirExplorer": """<circle cx="10" cy="10" r="8.5" fill="#fff" stroke="#455a64" stroke-width="1.4"/>
<path d="M10 3l2.5 7h-5z" fill="#e53935"/><path d="M10 17l-2.5-7h5z" fill="#90a4ae"/><circle cx="10" cy="10" r="1" fill="#333"/>""",
    "DirAddress": """<rect x="3" y="1" width="14" height="18" rx="1.5" fill="#8d6e63" stroke="#3e2723" stroke-width="1"/>
<rect x="17" y="3" width="2" height="3" fill="#ef5350"/><rect x="17" y="7.5" width="2" height="3" fill="#66bb6a"/><rect x="17" y="12" width="2" height="3" fill="#42a5f5"/>
<circle cx="10" cy="7.5" r="2.5" fill="#ffe0b2"/><path d="M5.5 15a4.5 4 0 0 1 9 0z" fill="#ffe0b2"/>""",
    "DirYellowPage": """<path d="M3 1.5h13a1 1 0 0 1 1 1v16H4a1 1 0 0 1-1-1z" fill="#fdd835" stroke="#8d6e00" stroke-width="1"/>
<path d="M5 18.5v-15h12" fill="none" stroke="#8d6e00" stroke-width=".8"/>
<path d="M8 6l1.8 1.8-1 1.2c.6 1.2 1.8 2.4 3 3l1.2-1 1.8 1.8-1.2 1.4c-3 0-6.6-3.6-6.6-6.6z" fill="#333"/>""",
    "DirVisa": """<rect x="1" y="4" width="18" height="12" rx="1.8" fill="#1a237e" stroke="#0d1442" stroke-width="1"/>
<rect x="1" y="6.5" width="18" height="2.5" fill="#111"/><rect x="3" y="11" width="4" height="3" rx=".6" fill="#ffd54f"/>
<path d="M10 12.5h7" stroke="#ffd54f" stroke-width="1.2"/>""",
    "DirEuro": """<circle cx="10" cy="10" r="8.5" fill="#e3f2fd" stroke="#1565c0" stroke-width="1.1"/>
<path d="M14.5 5.5a5 5 0 1 0 0 9" fill="none" stroke="#1565c0" stroke-width="2"/><path d="M3.5 8.5h8M3.5 11.5h8" stroke="#1565c0" stroke-width="1.5"/>""",
    "DirCar": """<path d="M1 13.5v-3l2.5-1 2.5-4.5h8l2.5 4.5 2.5 1v3z" fill="#e53935" stroke="#7f0000" stroke-width="1" stroke-linejoin="round"/>
<path d="M7 6h6l1.7 3.3H5.3z" fill="#b3e5fc"/><circle cx="5.5" cy="14" r="2.3" fill="#333"/><circle cx="14.5" cy="14" r="2.3" fill="#333"/>""",
    "DirWindows": """<path d="M1.5 3.5l7-1v7h-7z" fill="#f25022"/><path d="M9.5 2.4L18.5 1v8.5h-9z" fill="#7fba00"/>
<path d="M1.5 10.5h7v7l-7-1z" fill="#00a4ef"/><path d="M9.5 10.5h9V19l-9-1.4z" fill="#ffb900"/>""",
    "DirVirtual": """<path d="M5 16a4 4 0 0 1-.5-8A5.5 5.5 0 0 1 15 6.5a4.5 4.5 0 0 1 .5 9.5z" fill="#e1f5fe" stroke="#0277bd" stroke-width="1.1"/>
<rect x="7" y="9" width="6" height="2" fill="#0277bd"/><rect x="7" y="12" width="6" height="2" fill="#0277bd"/>""",
    "DirTree": """<rect x="8.5" y="12" width="3" height="7" fill="#6d4c41"/>
<circle cx="10" cy="7" r="5.5" fill="#43a047" stroke="#1b5e20" stroke-width="1"/><circle cx="5" cy="11" r="3.5" fill="#43a047" stroke="#1b5e20" stroke-width="1"/>
<circle cx="15" cy="11" r="3.5" fill="#43a047" stroke="#1b5e20" stroke-width="1"/>""",
    "DirPrinter": """<rect x="5" y="1.5" width="10" height="6" fill="#fff" stroke="#424242" stroke-width="1"/>
<rect x="1" y="7" width="18" height="8" rx="1.5" fill="#757575" stroke="#212121" stroke-width="1"/>
<rect x="5" y="12" width="10" height="6.5" fill="#fff" stroke="#424242" stroke-width="1"/><path d="M7 14.5h6M7 16.5h4" stroke="#424242" stroke-width=".9"/>
<circle cx="16" cy="9.5" r=".9" fill="#76ff03"/>""",
    "DirBed": """<path d="M1.5 5v12M18.5 11v6M1.5 14.5h17" stroke="#5d4037" stroke-width="1.8" stroke-linecap="round"/>
<rect x="1.5" y="10" width="17" height="4.5" rx="1" fill="#5c6bc0"/><rect x="2.5" y="7.5" width="5" height="3" rx="1.2" fill="#fff" stroke="#9e9e9e" stroke-width=".8"/>""",
    "DirHeart": """<path d="M10 18S1.5 12.5 1.5 6.5A4.3 4.3 0 0 1 10 4.8a4.3 4.3 0 0 1 8.5 1.7C18.5 12.5 10 18 10 18z" fill="#e91e63" stroke="#880e4f" stroke-width="1.1"/>""",
}

# The whole pictures of the other kinds, in a 32 x 32 box.
KINDS = {
    "Root": """<rect x="3" y="4" width="26" height="24" rx="3" fill="#78909c" stroke="#263238" stroke-width="1.4"/>
<rect x="6" y="7" width="20" height="18" rx="2" fill="#b0bec5" stroke="#37474f" stroke-width="1"/>
<circle cx="16" cy="16" r="5.5" fill="#eceff1" stroke="#37474f" stroke-width="1.4"/>
<path d="M16 11.5v9M11.5 16h9" stroke="#37474f" stroke-width="1.4"/><rect x="27" y="10" width="3" height="4" fill="#455a64"/><rect x="27" y="19" width="3" height="4" fill="#455a64"/>""",
    "Info": """<circle cx="16" cy="16" r="13" fill="#1e88e5" stroke="#0d47a1" stroke-width="1.4"/>
<circle cx="16" cy="9.5" r="2.3" fill="#fff"/><path d="M16 14v10" stroke="#fff" stroke-width="4" stroke-linecap="round"/>""",
    "Stat": """<path d="M3 28h26" stroke="#424242" stroke-width="1.6"/>
<rect x="5" y="16" width="6" height="12" fill="#42a5f5" stroke="#0d47a1" stroke-width="1"/>
<rect x="13" y="7" width="6" height="21" fill="#66bb6a" stroke="#1b5e20" stroke-width="1"/>
<rect x="21" y="12" width="6" height="16" fill="#ffa726" stroke="#e65100" stroke-width="1"/>""",
    "Option": """<path d="M13.5 2h5l.8 3.6 2.6 1.1 3.1-2 3.5 3.5-2 3.1 1.1 2.6 3.6.8v5l-3.6.8-1.1 2.6 2 3.1-3.5 3.5-3.1-2-2.6 1.1-.8 3.6h-5l-.8-3.6-2.6-1.1-3.1 2-3.5-3.5 2-3.1-1.1-2.6L2 18.5v-5l3.6-.8 1.1-2.6-2-3.1 3.5-3.5 3.1 2 2.6-1.1z"
 fill="#9e9e9e" stroke="#424242" stroke-width="1.2" stroke-linejoin="round"/><circle cx="16" cy="16" r="5" fill="#fff" stroke="#424242" stroke-width="1.2"/>""",
    "Trash": """<path d="M7 9h18l-2 20H9z" fill="#cfd8dc" stroke="#455a64" stroke-width="1.3" stroke-linejoin="round"/>
<rect x="5" y="5.5" width="22" height="3.5" rx="1" fill="#90a4ae" stroke="#455a64" stroke-width="1.2"/><rect x="13" y="3" width="6" height="2.5" fill="#90a4ae" stroke="#455a64"/>
<path d="M12 13v12M16 13v12M20 13v12" stroke="#78909c" stroke-width="1.4"/>""",
    "TrashKey": """<path d="M7 11h18l-2 18H9z" fill="#cfd8dc" stroke="#455a64" stroke-width="1.3" stroke-linejoin="round"/>
<path d="M9 11l3-8 6 2-3 6zM17 11l5-7 4 3-3 4z" fill="#fff" stroke="#757575" stroke-width="1"/>
<rect x="5" y="9" width="22" height="3" rx="1" fill="#90a4ae" stroke="#455a64" stroke-width="1.2"/>
<circle cx="12.5" cy="20" r="3.5" fill="#f2c230" stroke="#8a6a00" stroke-width="1"/><path d="M15.5 20h7v2.5M20 20v2" stroke="#8a6a00" stroke-width="1.8"/>""",
    "Password": """<circle cx="10" cy="16" r="7" fill="#f2c230" stroke="#8a6a00" stroke-width="1.5"/><circle cx="8.5" cy="16" r="2.2" fill="#fff"/>
<path d="M16.5 14.5h13v3.5h-2.8v4h-3.3v-4h-2v3h-3v-3h-1.9z" fill="#f2c230" stroke="#8a6a00" stroke-width="1.2" stroke-linejoin="round"/>""",
    "PasswordWeb": """<circle cx="9" cy="12" r="6" fill="#f2c230" stroke="#8a6a00" stroke-width="1.4"/><circle cx="7.8" cy="12" r="1.9" fill="#fff"/>
<path d="M14.5 10.5h11v3h-2.4v3.4h-2.8v-3.4h-1.7v2.6h-2.6v-2.6h-1.5z" fill="#f2c230" stroke="#8a6a00" stroke-width="1.1" stroke-linejoin="round"/>
<circle cx="22" cy="23" r="7" fill="#b3e5fc" stroke="#0277bd" stroke-width="1.2"/>
<path d="M15 23h14M22 16v14M22 16c-3.5 3-3.5 11 0 14M22 16c3.5 3 3.5 11 0 14" fill="none" stroke="#0277bd" stroke-width=".9"/>""",
    "Login": """<rect x="2" y="6" width="28" height="20" rx="2.5" fill="#e3f2fd" stroke="#1565c0" stroke-width="1.3"/>
<circle cx="10" cy="14" r="3.5" fill="#1565c0"/><path d="M4.5 23a5.5 5 0 0 1 11 0z" fill="#1565c0"/>
<path d="M18 12h9M18 16h9M18 20h6" stroke="#1565c0" stroke-width="1.6"/>""",
    "Key": """<rect x="2" y="9" width="28" height="14" rx="3" fill="#fff" stroke="#6a1b9a" stroke-width="1.4"/>
<g fill="#6a1b9a"><circle cx="8" cy="16" r="2.2"/><circle cx="14" cy="16" r="2.2"/><circle cx="20" cy="16" r="2.2"/></g><path d="M25.5 12v8" stroke="#6a1b9a" stroke-width="1.5"/>""",
    "Date": """<rect x="3" y="5" width="26" height="24" rx="2" fill="#fff" stroke="#c62828" stroke-width="1.3"/>
<rect x="3" y="5" width="26" height="6.5" rx="2" fill="#e53935"/><path d="M9 2.5v5M23 2.5v5" stroke="#424242" stroke-width="2" stroke-linecap="round"/>
<g fill="#9e9e9e"><rect x="7" y="15" width="4" height="3"/><rect x="14" y="15" width="4" height="3"/><rect x="21" y="15" width="4" height="3"/><rect x="7" y="21" width="4" height="3"/><rect x="14" y="21" width="4" height="3"/></g>
<rect x="21" y="21" width="4" height="3" fill="#e53935"/>""",
    "Custom1": """<path d="M3 6h16l9 10-9 10H3z" fill="#fff59d" stroke="#9e7c00" stroke-width="1.3" stroke-linejoin="round"/>
<circle cx="20" cy="16" r="2" fill="#fff" stroke="#9e7c00" stroke-width="1.2"/><path d="M6 12h9M6 16h8M6 20h9" stroke="#9e7c00" stroke-width="1.4"/>""",
    "Web": """<circle cx="16" cy="16" r="13" fill="#b3e5fc" stroke="#0277bd" stroke-width="1.4"/>
<path d="M3 16h26M16 3v26M16 3c-7 6-7 20 0 26M16 3c7 6 7 20 0 26M5 9h22M5 23h22" fill="none" stroke="#0277bd" stroke-width="1.1"/>""",
    "File": """<path d="M6 2h14l6 6v22H6z" fill="#fff" stroke="#546e7a" stroke-width="1.4" stroke-linejoin="round"/>
<path d="M20 2v6h6" fill="#cfd8dc" stroke="#546e7a" stroke-width="1.2" stroke-linejoin="round"/>
<path d="M10 14h12M10 18h12M10 22h8" stroke="#90a4ae" stroke-width="1.5"/>""",
    "Note": """<rect x="5" y="3" width="22" height="27" rx="1.5" fill="#fff59d" stroke="#9e7c00" stroke-width="1.3"/>
<path d="M9 10h14M9 15h14M9 20h14M9 25h9" stroke="#b8a000" stroke-width="1.3"/>
<path d="M9 1.5v4M14 1.5v4M19 1.5v4M24 1.5v4" stroke="#616161" stroke-width="1.6" stroke-linecap="round"/>""",
    "Quote": """<path d="M4 8h10v8c0 5-3 8-8 9v-3.5c2.5-.8 4-2.5 4-5.5H4zM18 8h10v8c0 5-3 8-8 9v-3.5c2.5-.8 4-2.5 4-5.5h-6z" fill="#8d6e63" stroke="#4e342e" stroke-width="1" stroke-linejoin="round"/>""",
    "Create": """<rect x="3" y="6" width="22" height="22" rx="2" fill="#fff" stroke="#2e7d32" stroke-width="1.3"/>
<rect x="3" y="6" width="22" height="6" rx="2" fill="#43a047"/><path d="M8.5 3.5v5M19.5 3.5v5" stroke="#424242" stroke-width="2" stroke-linecap="round"/>
<path d="M24 13l2 4.2 4.5.6-3.3 3.2.8 4.5-4-2.2-4 2.2.8-4.5-3.3-3.2 4.5-.6z" fill="#ffd23f" stroke="#b88a00" stroke-width="1" stroke-linejoin="round"/>""",
    "User": """<circle cx="16" cy="10" r="6" fill="#f0c8a0" stroke="#7a5434" stroke-width="1.3"/>
<path d="M4 29a12 10 0 0 1 24 0z" fill="#5c6bc0" stroke="#283593" stroke-width="1.3"/>""",
    "Title": """<path d="M6 2h20v28H6z" fill="#fff" stroke="#546e7a" stroke-width="1.3"/>
<path d="M10 8h12M16 8v16" stroke="#263238" stroke-width="3.4" stroke-linecap="square"/><path d="M10 27h12" stroke="#90a4ae" stroke-width="1.2"/>""",
}

# Kinds that come in a selected picture and a "Not" twin.
PAIRED_KINDS = ["Root", "Info", "Stat", "Option", "Trash", "TrashKey", "Password", "PasswordWeb"]
SINGLE_KINDS = ["Login", "Key", "Date", "Custom1", "Web", "File", "Note", "Quote", "Create", "User", "Title"]

CLOSED_FOLDER = """<path d="M1.5 6.5h9l2.5 3h13.5v16.5h-25z" fill="#e3ae46" stroke="#8c5f10" stroke-width="1.3" stroke-linejoin="round"/>
<path d="M1.5 11h25v15h-25z" fill="#f3c463" stroke="#8c5f10" stroke-width="1.3" stroke-linejoin="round"/>"""
OPEN_FOLDER = """<path d="M1.5 6.5h9l2.5 3h13.5v16.5h-25z" fill="#d59a2e" stroke="#8c5f10" stroke-width="1.3" stroke-linejoin="round"/>
<path d="M4 5h12v14H4z" fill="#fff" stroke="#9e9e9e" stroke-width=".8"/>
<path d="M5 13.5h25l-4 12.5h-24.5z" fill="#ffd97a" stroke="#8c5f10" stroke-width="1.3" stroke-linejoin="round"/>"""
HIGHLIGHT = """<rect x=".75" y=".75" width="30.5" height="30.5" rx="5" fill="#ffe680" fill-opacity=".7" stroke="#e0b000" stroke-width="1.5"/>"""


def svg(body):
    return ('<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="0 0 32 32">\n'
            + body.strip() + "\n</svg>\n")


def folder(emblem, opened):
    body = OPEN_FOLDER if opened else CLOSED_FOLDER
    if emblem:
        body += ('\n<rect x="11.5" y="11.5" width="20" height="20" rx="4" fill="#ffffff" fill-opacity=".92" '
                 'stroke="#8c5f10" stroke-width=".8"/>\n<g transform="translate(11.5 11.5)">\n' + emblem + "\n</g>")
    return svg(body)


def main():
    os.makedirs(OUT, exist_ok=True)
    files = {}
    for key in PAIRED_KINDS:
        files[key] = svg(HIGHLIGHT + "\n" + KINDS[key])
        files[key + "Not"] = svg(KINDS[key])
    for key, emblem in EMBLEMS.items():
        files[key] = folder(emblem, True)
        files[key + "Not"] = folder(emblem, False)
    for key in SINGLE_KINDS:
        files[key] = svg(KINDS[key])
    for key, text in files.items():
        with open(os.path.join(OUT, key + ".svg"), "w", encoding="utf-8") as f:
            f.write(text)
    with open(QRC, "w", encoding="utf-8") as f:
        f.write('<RCC>\n  <qresource prefix="/keyholm/tree">\n')
        for key in sorted(files):
            f.write('    <file alias="%s.svg">icons/%s.svg</file>\n' % (key, key))
        f.write("  </qresource>\n</RCC>\n")
    print("%d pictures" % len(files), file=sys.stderr)


if __name__ == "__main__":
    main()
